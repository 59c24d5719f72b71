#pragma once

#include <QIcon>
#include <QList>
#include <QObject>

// The window's image list: 17 pictures of 16 x 16 pixels addressed from 1, drawn at start-up.
//   1 box with a black tick, 2 box with a grey tick, 3 empty box: the check images of the
//     operations tree (index 0 means no image);
//   4 folder, 5 key, 6 company, 7 brand, 8 work point, 9 module, 10 operation, 11 information;
//   12 close, 13 group, 14 user, 15 save, 16 refresh, 17 delete: the toolbar images, 13 and 14
//     also the item icons of the group and user lists.
class ImageList : public QObject {
    Q_OBJECT
public:
    static constexpr int Count = 17;
    static constexpr int Checked = 1, PartlyChecked = 2;
    static constexpr int Company = 6, Brand = 7, WorkPoint = 8;
    static constexpr int Close = 12, Group = 13, User = 14, Save = 15, Refresh = 16, Delete = 17;

    explicit ImageList(QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_images.size()); }
    // The picture at a 1-based index; a null icon for 0 or any index outside 1..Count.
    QIcon image(int index) const;

    // The window's own icon (a group with a key), in 16 and 32 pixel sizes.
    static QIcon windowIcon();

private:
    QList<QIcon> m_images;
};
