#pragma once

#include <QString>
#include <QVariant>

class TempServer;

// Writes the rows a test needs into a TempServer, one call per row, with the values every row
// written by the tool carries (IdOperator 55, a DataAct). Calls chain:
//
//     FixtureRows(server).author(1, "Brădet").workPoint(1, 1, "Depozit").group(1, "ADM").grant(1, 1, 5, 3);
class FixtureRows {
public:
    explicit FixtureRows(const TempServer& server) : m_server(server) {}

    FixtureRows& author(int idAuthor, const QString& name, const QString& nickName = QString());
    // A work point in ordavia and, where the server has stk, the same id in stk.
    FixtureRows& workPoint(int idPctLucru, int idAuthor, const QString& name);
    FixtureRows& module(int mdID, const QString& name);
    // parent 0 writes a Null opIdParinte.
    FixtureRows& operation(int opID, int mdID, int id, const QString& name, int parent = 0);
    // A null prenume writes Null.
    FixtureRows& person(int idPers, const QString& nume, const QString& prenume, int usID = 0);
    FixtureRows& user(int usID, const QString& usCod, const QString& usDenumire = QString());
    FixtureRows& group(int grID, const QString& grCod, const QString& grDenumire = QString());
    FixtureRows& member(int usID, int grID);
    // An operation granted to a group for an author, with the author's admGrupAutor row if missing.
    FixtureRows& grant(int grID, int auID, int opID, int id);
    FixtureRows& grantWorkPoint(int grID, int idPctLucru);
    // A brand in stk with the company it belongs to.
    FixtureRows& brand(int idBrand, const QString& name, int idAuthor);
    FixtureRows& brandRole(int usID, int idBrand, bool supervisor, bool administrator);
    // A row of the stk per-group settings.
    // A small suite for the editors' tests: companies 1 "Brad" and 2 "Stejar" with work points 1
    // and 2 of Brad and 3 of Stejar; modules 1 "Contabilitate" (operations 10 and 11) and
    // 2 "Vanzari" (operation 20); groups 1 "ADMIN" (operation 10 at Brad, 20 at Stejar, work
    // point 1) and 2 "VANZARI"; users 1 "ana" (in ADMIN, person 1) and 2 "dan"; person 2 with no
    // user.
    FixtureRows& twoOfEach();

    FixtureRows& stkSetting(int grID, const QString& documentType);

private:
    const TempServer& m_server;
};
