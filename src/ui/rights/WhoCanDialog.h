#pragma once

#include <QDialog>

class FindBox;
class KeyedTreeWidget;
class QLabel;

namespace rights {

// frmWhoCan: the users who may run one operation in one company, or use one work point, each
// once in lstWhoCan (key "k" + usID: code, name, and the codes of the groups that give it to
// them), read-only; txtFindWhoCan finds among them.
class WhoCanDialog : public QDialog {
    Q_OBJECT
public:
    // subject says what is asked about, e.g. "Facturi (Vânzări) in SC Brădet SRL".
    explicit WhoCanDialog(const QString& subject, QWidget* parent = nullptr);

    // Lists the users who may run operation (opID, Id) in company auID. Database errors are raised
    // unchanged.
    void loadOperation(int auID, int opID, int Id);
    // Lists the users who may use work point IdPctLucru. Database errors are raised unchanged.
    void loadWorkPoint(int IdPctLucru);

    QLabel* lblWhoCan;
    FindBox* txtFindWhoCan;
    KeyedTreeWidget* lstWhoCan;

private:
    template <typename Query> void fill(Query&& query);

    QString m_subject;
};

} // namespace rights
