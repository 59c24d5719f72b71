#pragma once

class FindBox;
class ImageList;
class KeyedComboBox;
class KeyedTreeWidget;
class TabControl;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QWidget;

// The named controls of the users page (SSTab1, tab 1): the user list, the user editor and the
// brand settings tab. frmMain exposes them as its own members; the user editor and the brand
// settings work on this page alone.
struct UsersPage {
    QWidget* picUsers = nullptr;
    // Above the user list: its find box (code, name or person) and the button of the user's rights.
    FindBox* txtFindUsers = nullptr;
    QToolButton* cbutUserRights = nullptr;
    KeyedTreeWidget* lstUsers = nullptr;
    TabControl* tabDetalii = nullptr;

    // User editor (tabDetalii, tab 0).
    QGroupBox* fraGroup = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtDomain = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtUserName = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* txtAlias = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* txtDisplay = nullptr;
    QLabel* Label8 = nullptr;
    KeyedComboBox* cmbPers = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* txtVerifyPassword = nullptr;
    KeyedTreeWidget* lstGroups = nullptr;

    // Brand settings (tabDetalii, tab 1).
    QGroupBox* frCRM = nullptr;
    QLabel* Label11 = nullptr;
    KeyedComboBox* cboAuthor = nullptr;
    QLabel* Label12 = nullptr;
    KeyedComboBox* cboBrand = nullptr;
    QCheckBox* chkAdminBrand = nullptr;
    QCheckBox* chkAdmin = nullptr;
    QTreeWidget* lstUserBrand = nullptr;
    QPushButton* cbutInregNoua = nullptr;
    QPushButton* cbutSalvare = nullptr;

    // Makes the page's controls in tab, at their designed places; the tabs of tabDetalii take
    // their images from images.
    static UsersPage build(QWidget* tab, const ImageList& images);
};
