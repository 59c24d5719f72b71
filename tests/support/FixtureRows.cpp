#include "support/FixtureRows.h"

#include "support/TempServer.h"

namespace {

const QString Suite = QStringLiteral("suitedb");
const QString Stamp = QStringLiteral("2025-03-07 10:00:00");
const QString Day = QStringLiteral("2025-03-07");

QVariant textOrNull(const QString& text) {
    return text.isNull() ? QVariant() : QVariant(text);
}

} // namespace

FixtureRows& FixtureRows::author(int idAuthor, const QString& name, const QString& nickName) {
    m_server.exec(Suite, QStringLiteral("INSERT INTO Authors (IdAuthor, Name, NickName) VALUES (?, ?, ?)"),
                  {idAuthor, name, textOrNull(nickName)});
    return *this;
}

FixtureRows& FixtureRows::workPoint(int idPctLucru, int idAuthor, const QString& name) {
    m_server.exec(QStringLiteral("ordavia"),
                  QStringLiteral("INSERT INTO PSR_PuncteLucru (IdPctLucru, IdAuthor, Name) VALUES (?, ?, ?)"),
                  {idPctLucru, idAuthor, name});
    if (m_server.hasStk())
        m_server.exec(QStringLiteral("stk"),
                      QStringLiteral("INSERT INTO stk_PuncteLucru (IdPctLucru, IdAuthor, Denumire) VALUES (?, ?, ?)"),
                      {idPctLucru, idAuthor, name});
    return *this;
}

FixtureRows& FixtureRows::module(int mdID, const QString& name) {
    m_server.exec(Suite, QStringLiteral("INSERT INTO admModul (mdID, mdDenumire) VALUES (?, ?)"), {mdID, name});
    return *this;
}

FixtureRows& FixtureRows::operation(int opID, int mdID, int id, const QString& name, int parent) {
    m_server.exec(Suite,
                  QStringLiteral("INSERT INTO admOperatiiModul (opID, mdID, Id, opDenumire, opIdParinte) "
                                 "VALUES (?, ?, ?, ?, ?)"),
                  {opID, mdID, id, name, parent == 0 ? QVariant() : QVariant(parent)});
    return *this;
}

FixtureRows& FixtureRows::person(int idPers, const QString& nume, const QString& prenume, int usID) {
    m_server.exec(Suite, QStringLiteral("INSERT INTO PSR_Pers (IdPers, Nume, Prenume, usID) VALUES (?, ?, ?, ?)"),
                  {idPers, nume, textOrNull(prenume), usID});
    return *this;
}

FixtureRows& FixtureRows::user(int usID, const QString& usCod, const QString& usDenumire) {
    m_server.exec(Suite,
                  QStringLiteral("INSERT INTO admUser (usID, usCod, usDenumire, usDomeniu, usAlias, IdOperator, "
                                 "DataAct) VALUES (?, ?, ?, 'SUITE', ?, 55, ?)"),
                  {usID, usCod, usDenumire.isNull() ? usCod : usDenumire, usCod, Stamp});
    return *this;
}

FixtureRows& FixtureRows::group(int grID, const QString& grCod, const QString& grDenumire) {
    m_server.exec(Suite,
                  QStringLiteral("INSERT INTO AdmGrup (grID, grCod, grDenumire, grobs, IdOperator, DataAct) "
                                 "VALUES (?, ?, ?, '', 55, ?)"),
                  {grID, grCod, grDenumire.isNull() ? grCod : grDenumire, Stamp});
    return *this;
}

FixtureRows& FixtureRows::member(int usID, int grID) {
    m_server.exec(Suite,
                  QStringLiteral("INSERT INTO admUserGrup (usID, grID, IdOperator, DataAct) VALUES (?, ?, 55, ?)"),
                  {usID, grID, Day});
    return *this;
}

FixtureRows& FixtureRows::grant(int grID, int auID, int opID, int id) {
    m_server.exec(Suite,
                  QStringLiteral("INSERT INTO admGrupAutor (auID, grID, IdOperator, DataAct) SELECT ?, ?, 55, ? "
                                 "WHERE NOT EXISTS (SELECT 1 FROM admGrupAutor WHERE auID = ? AND grID = ?)"),
                  {auID, grID, Day, auID, grID});
    m_server.exec(Suite,
                  QStringLiteral("INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct) "
                                 "VALUES (?, ?, ?, ?, 55, ?)"),
                  {auID, grID, opID, id, Day});
    return *this;
}

FixtureRows& FixtureRows::grantWorkPoint(int grID, int idPctLucru) {
    m_server.exec(Suite, QStringLiteral("INSERT INTO admGrupPuncteLucru (grID, IdPctLucru) VALUES (?, ?)"),
                  {grID, idPctLucru});
    return *this;
}

FixtureRows& FixtureRows::brand(int idBrand, const QString& name, int idAuthor) {
    m_server.exec(QStringLiteral("stk"), QStringLiteral("INSERT INTO FAZ_Brand (IdBrand, Brand) VALUES (?, ?)"),
                  {idBrand, name});
    m_server.exec(Suite,
                  QStringLiteral("INSERT INTO CRM_Author (IdAuthor, IdBrand, UserId, DataAct) VALUES (?, ?, 1, ?)"),
                  {idAuthor, idBrand, Stamp});
    return *this;
}

FixtureRows& FixtureRows::brandRole(int usID, int idBrand, bool supervisor, bool administrator) {
    m_server.exec(Suite,
                  QStringLiteral("INSERT INTO CRM_User (UserId, IdBrand, isSupervizorBrand, isAdministrator, "
                                 "DataAct) VALUES (?, ?, ?, ?, ?)"),
                  {usID, idBrand, supervisor ? 1 : 0, administrator ? 1 : 0, Stamp});
    return *this;
}

FixtureRows& FixtureRows::stkSetting(int grID, const QString& documentType) {
    m_server.exec(QStringLiteral("stk"),
                  QStringLiteral("INSERT INTO stk_cfgOperDrepturi (grID, TipDocument) VALUES (?, ?)"),
                  {grID, documentType});
    return *this;
}

FixtureRows& FixtureRows::twoOfEach() {
    return author(1, "Brad", "BRD")
        .author(2, "Stejar", "STJ")
        .workPoint(1, 1, "Depozit Brad")
        .workPoint(2, 1, "Magazin Brad")
        .workPoint(3, 2, "Sediu Stejar")
        .module(1, "Contabilitate")
        .operation(10, 1, 1, "Balanta")
        .operation(11, 1, 1, "Jurnal")
        .module(2, "Vanzari")
        .operation(20, 2, 2, "Facturi")
        .group(1, "ADMIN", "Administratori")
        .group(2, "VANZARI", "Vanzari")
        .grant(1, 1, 10, 1)
        .grant(1, 2, 20, 2)
        .grantWorkPoint(1, 1)
        .user(1, "ana", "Ana Avram")
        .user(2, "dan", "Dan Barbu")
        .member(1, 1)
        .person(1, "Avram", "Ana", 1)
        .person(2, "Barbu", "Dan");
}
