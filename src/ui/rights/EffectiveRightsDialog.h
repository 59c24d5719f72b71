#pragma once

#include "ui/rights/RightsReport.h"

#include <QDialog>

class FindBox;
class ImageList;
class KeyedComboBox;
class KeyedTreeWidget;
class QLabel;
class QPushButton;

namespace rights {

// frmEffectiveRights: what one user may do through all its groups, read-only. A company chooser
// (cboEffectiveCompany) lists the companies in which the user has rights; twEffective shows the
// chosen company's modules, operations and work points (see FillEffectiveRights) with the groups
// that grant each; txtFindEffective finds in the tree. The buttons write the user's rights report
// (every company) as CSV or PDF, or show its print preview.
class EffectiveRightsDialog : public QDialog {
    Q_OBJECT
public:
    // userText names the user in the caption, e.g. "ana (Ana Avram)"; images must outlive the dialog.
    EffectiveRightsDialog(int usID, const QString& userText, const ImageList& images, Suite suite,
                          QWidget* parent = nullptr);

    // Lists the user's companies and shows company auID when the user has rights there, else the
    // first one. Database errors are raised unchanged.
    void load(int auID);
    // Shows company auID in the tree; errors are shown with the origin "frmEffectiveRights".
    void showCompany(int auID);

    QLabel* lblEffectiveUser;
    KeyedComboBox* cboEffectiveCompany;
    FindBox* txtFindEffective;
    KeyedTreeWidget* twEffective;
    QPushButton* cmdEffectiveCsv;
    QPushButton* cmdEffectivePreview;
    QPushButton* cmdEffectivePdf;

private:
    RightsReport report() const;

    int m_usID;
    QString m_userText;
    const ImageList& m_images;
    Suite m_suite;
};

} // namespace rights
