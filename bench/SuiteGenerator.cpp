#include "SuiteGenerator.h"

#include "SqliteBulk.h"
#include "SuiteNames.h"
#include "session/DemoSuite.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QSet>
#include <algorithm>

using namespace SuiteNames;

namespace {

constexpr int Operator = 55;

QString databaseFile(const QString& directory, const char* name) {
    return QDir(directory).filePath(QString::fromLatin1(name) + QStringLiteral(".db"));
}

// Makes a name unique by numbering its repeats: "ion.pop", "ion.pop2", "ion.pop3".
QString uniqueName(QHash<QString, int>& used, const QString& name, const QString& joiner = QString()) {
    const int seen = used.value(name, 0);
    used.insert(name, seen + 1);
    return seen == 0 ? name : name + joiner + QString::number(seen + 1);
}

} // namespace

SuiteGenerator::SuiteGenerator(QString directory, SuiteSize size, quint64 seed)
    : m_directory(std::move(directory)), m_size(size), m_random(seed) {}

void SuiteGenerator::run(const std::function<void(const TableCount&)>& progress) {
    m_progress = progress;
    CreateSuiteServer(m_directory, true, false);
    SqliteBulk suite(databaseFile(m_directory, DemoDatabaseName));
    SqliteBulk ordavia(databaseFile(m_directory, "ordavia"));
    SqliteBulk stk(databaseFile(m_directory, "stk"));
    for (SqliteBulk* bulk : {&suite, &ordavia, &stk})
        bulk->suspendIndexes();

    fillAuthors(suite);
    fillWorkPoints(ordavia, stk);
    fillModules(suite);
    fillOperations(suite);
    fillPeople(suite);
    fillGroups(suite, stk);
    fillMemberships(suite);
    fillGrants(suite);
    fillBrands(suite, stk);
    fillRightsTargets(suite);
    fillLargeModule(suite);

    m_tableTimer.restart();
    for (SqliteBulk* bulk : {&suite, &ordavia, &stk})
        bulk->restoreIndexes();
    m_progress({QStringLiteral("(indexes)"), 0, m_tableTimer.restart()});
}

void SuiteGenerator::report(SqliteBulk& bulk, const char* table) {
    const qint64 rows = bulk.endTable();
    m_progress({QString::fromLatin1(table), rows, m_tableTimer.restart()});
}

QString SuiteGenerator::randomStamp() {
    const QDateTime start(QDate(2023, 1, 2), QTime(7, 0));
    return start.addDays(m_random.below(1000))
        .addSecs(m_random.below(11 * 3600))
        .toString(Qt::ISODate)
        .replace(QLatin1Char('T'), QLatin1Char(' '));
}

QString SuiteGenerator::randomDate() {
    return QDate(2023, 1, 2).addDays(m_random.below(1000)).toString(QStringLiteral("MM/dd/yyyy"));
}

void SuiteGenerator::fillAuthors(SqliteBulk& suite) {
    m_tableTimer.start();
    suite.beginTable("INSERT INTO Authors (IdAuthor, Name, NickName, CodFiscal, Localitate) VALUES (?, ?, ?, ?, ?)");
    QHash<QString, int> used;
    for (int id = 1; id <= m_size.authors; ++id) {
        const QString word = m_random.pick(companyWords());
        const QString name = QStringLiteral("SC %1 %2 %3")
                                 .arg(word, m_random.pick(companyActivities()),
                                      m_random.chance(0.8) ? QStringLiteral("SRL") : QStringLiteral("SA"));
        suite.bind(id)
            .bind(uniqueName(used, name, QStringLiteral(" ")))
            .bind(word)
            .bind(QStringLiteral("RO%1").arg(m_random.between(1000000, 49999999)))
            .bind(m_random.pick(cities()));
        suite.insertRow();
    }
    report(suite, "Authors");
}

void SuiteGenerator::fillWorkPoints(SqliteBulk& ordavia, SqliteBulk& stk) {
    // A long tail: a few companies have hundreds of work points, most have a handful.
    const std::vector<int> counts = m_random.longTail(m_size.workPoints, m_size.authors, 2.0);
    m_workPointsOf.assign(std::size_t(m_size.authors), {});
    ordavia.beginTable("INSERT INTO PSR_PuncteLucru (IdPctLucru, IdAuthor, Name, Adresa) VALUES (?, ?, ?, ?)");
    stk.beginTable("INSERT INTO stk_PuncteLucru (IdPctLucru, IdAuthor, Denumire, Gestiune) VALUES (?, ?, ?, ?)");
    int id = 0;
    for (int author = 1; author <= m_size.authors; ++author) {
        QHash<QString, int> used;
        for (int n = 1; n <= counts[std::size_t(author - 1)]; ++n) {
            ++id;
            const QString city = m_random.pick(cities());
            const QString name =
                uniqueName(used, m_random.pick(workPointKinds()) + QLatin1Char(' ') + city, QStringLiteral(" "));
            ordavia.bind(id).bind(author).bind(name).bind(
                QStringLiteral("%1 nr. %2, %3").arg(m_random.pick(streets())).arg(m_random.between(1, 250)).arg(city));
            ordavia.insertRow();
            stk.bind(id).bind(author).bind(name).bind(QStringLiteral("G%1").arg(n, 2, 10, QLatin1Char('0')));
            stk.insertRow();
            m_workPointsOf[std::size_t(author - 1)].push_back(id);
        }
    }
    report(ordavia, "ordavia..PSR_PuncteLucru");
    report(stk, "stk..stk_PuncteLucru");
}

void SuiteGenerator::fillModules(SqliteBulk& suite) {
    std::vector<QString> names;
    for (const QString& domain : moduleDomains()) {
        for (const QString& qualifier : moduleQualifiers())
            names.push_back(domain + QStringLiteral(" - ") + qualifier);
    }
    m_random.shuffle(names);
    suite.beginTable("INSERT INTO admModul (mdID, mdDenumire) VALUES (?, ?)");
    for (int id = 1; id <= m_size.modules; ++id) {
        const std::size_t index = std::size_t(id - 1);
        suite.bind(id).bind(index < names.size() ? names[index] : QStringLiteral("Modul %1").arg(id));
        suite.insertRow();
    }
    report(suite, "admModul");
}

std::vector<int> SuiteGenerator::parentsOf(const std::vector<int>& moduleOps, const std::vector<bool>& isChild) {
    // A parent never has a parent itself and always comes earlier in the module (smaller opID),
    // so the links form no cycle.
    std::vector<int> parent(moduleOps.size(), 0);
    for (std::size_t i = 1; i < parent.size(); ++i) {
        if (!isChild[std::size_t(moduleOps[i])])
            continue;
        std::size_t candidate = std::size_t(m_random.below(int(i)));
        while (isChild[std::size_t(moduleOps[candidate])])
            --candidate; // the first operation of a module is never a child, so this stops
        parent[i] = m_operations[std::size_t(moduleOps[candidate])].opID;
    }
    return parent;
}

void SuiteGenerator::fillOperations(SqliteBulk& suite) {
    const std::vector<int> counts = m_random.longTail(m_size.operations, m_size.modules, 5.0);
    m_operationsOf.assign(std::size_t(m_size.modules), {});
    m_operations.clear();
    for (int module = 1; module <= m_size.modules; ++module) {
        for (int opID = 1; opID <= counts[std::size_t(module - 1)]; ++opID) {
            m_operationsOf[std::size_t(module - 1)].push_back(int(m_operations.size()));
            m_operations.push_back({opID, module, int(m_operations.size()) + 1});
        }
    }
    // The operations that get a parent: any but the first of its module.
    std::vector<int> candidates;
    for (const Operation& op : m_operations) {
        if (op.opID > 1)
            candidates.push_back(op.id - 1);
    }
    std::vector<bool> isChild(m_operations.size(), false);
    for (int index :
         m_random.distinct(std::min(m_size.operationsWithParent, int(candidates.size())), int(candidates.size())))
        isChild[std::size_t(candidates[std::size_t(index)])] = true;

    suite.beginTable("INSERT INTO admOperatiiModul (opID, mdID, Id, opDenumire, opIdParinte) VALUES (?, ?, ?, ?, ?)");
    for (const std::vector<int>& moduleOps : m_operationsOf) {
        const std::vector<int> parents = parentsOf(moduleOps, isChild);
        for (std::size_t i = 0; i < moduleOps.size(); ++i) {
            const Operation& op = m_operations[std::size_t(moduleOps[i])];
            suite.bind(op.opID).bind(op.mdID).bind(op.id).bind(m_random.pick(operationVerbs()) + QLatin1Char(' ') +
                                                               m_random.pick(operationNouns()));
            // Operations without a parent hold Null or 0, as both occur in real catalogues.
            if (parents[i] > 0)
                suite.bind(parents[i]);
            else if (m_random.chance(0.2))
                suite.bind(0);
            else
                suite.bindNull();
            suite.insertRow();
        }
    }
    report(suite, "admOperatiiModul");
}

void SuiteGenerator::fillPeople(SqliteBulk& suite) {
    struct Name {
        QString first;
        QString last;
    };
    auto randomName = [this] {
        const bool female = m_random.chance(0.5);
        return Name{m_random.pick(female ? femaleFirstNames() : maleFirstNames()), m_random.pick(surnames())};
    };
    // Most persons are tied to a user, each to a different one; a few of each stand alone.
    const int tied = std::min(m_size.persons, m_size.users) * 925 / 1000;
    std::vector<int> userOfPerson(std::size_t(m_size.persons), 0);
    std::vector<Name> userNames(std::size_t(m_size.users));
    std::vector<bool> userNamed(std::size_t(m_size.users), false);
    const std::vector<int> persons = m_random.distinct(tied, m_size.persons);
    const std::vector<int> users = m_random.distinct(tied, m_size.users);
    for (int i = 0; i < tied; ++i)
        userOfPerson[std::size_t(persons[std::size_t(i)])] = users[std::size_t(i)] + 1;

    suite.beginTable("INSERT INTO PSR_Pers (IdPers, Nume, Prenume, usID) VALUES (?, ?, ?, ?)");
    for (int id = 1; id <= m_size.persons; ++id) {
        const Name name = randomName();
        const int usID = userOfPerson[std::size_t(id - 1)];
        suite.bind(id).bind(name.last);
        if (m_random.chance(0.01))
            suite.bindNull();
        else
            suite.bind(name.first);
        suite.bind(usID);
        suite.insertRow();
        if (usID > 0) {
            userNames[std::size_t(usID - 1)] = name;
            userNamed[std::size_t(usID - 1)] = true;
        }
    }
    report(suite, "PSR_Pers");

    const QStringList domains = {QStringLiteral("ORDAVIA"), QStringLiteral("CENTRAL"), QStringLiteral("FILIALE"),
                                 QStringLiteral("DEPOZITE")};
    QHash<QString, int> used;
    suite.beginTable("INSERT INTO admUser (usID, usCod, usDenumire, usDomeniu, usAlias, IdOperator, DataAct) VALUES "
                     "(?, ?, ?, ?, ?, ?, ?)");
    for (int id = 1; id <= m_size.users; ++id) {
        const Name name = userNamed[std::size_t(id - 1)] ? userNames[std::size_t(id - 1)] : randomName();
        const QString first = asciiLower(name.first);
        const QString last = asciiLower(name.last);
        suite.bind(id)
            .bind(uniqueName(used, first + QLatin1Char('.') + last))
            .bind(name.first + QLatin1Char(' ') + name.last);
        if (m_random.chance(0.15))
            suite.bindNull();
        else
            suite.bind(m_random.pick(domains));
        if (m_random.chance(0.25))
            suite.bindNull();
        else
            suite.bind(first.left(1) + last);
        suite.bind(Operator).bind(randomStamp());
        suite.insertRow();
    }
    report(suite, "admUser");
}

void SuiteGenerator::fillGroups(SqliteBulk& suite, SqliteBulk& stk) {
    QHash<QString, int> used;
    suite.beginTable(
        "INSERT INTO AdmGrup (grID, grCod, grDenumire, grobs, IdOperator, DataAct) VALUES (?, ?, ?, ?, ?, ?)");
    for (int id = 1; id <= m_size.groups; ++id) {
        const QStringList department = m_random.pick(departments()).split(QLatin1Char('|'));
        const QString city = m_random.pick(cities());
        const QString code = department[0] + QLatin1Char('_') + cityCode(city);
        const QString unique = uniqueName(used, code, QStringLiteral("_"));
        suite.bind(id).bind(unique).bind(department[1] + QLatin1Char(' ') + city +
                                         unique.mid(code.size()).replace(QLatin1Char('_'), QLatin1Char(' ')));
        if (m_random.chance(0.4))
            suite.bindNull();
        else
            suite.bind(
                QStringLiteral("Drepturi %1 pentru punctele de lucru din %2").arg(department[1].toLower(), city));
        suite.bind(Operator).bind(randomStamp());
        suite.insertRow();
    }
    report(suite, "AdmGrup");

    const QStringList documents = {QStringLiteral("NIR"), QStringLiteral("AVIZ"), QStringLiteral("BC"),
                                   QStringLiteral("FACT"), QStringLiteral("TRANSF")};
    stk.beginTable("INSERT INTO stk_cfgOperDrepturi (grID, TipDocument, PoateValida, PoateAnula) VALUES (?, ?, ?, ?)");
    for (int id = 1; id <= m_size.groups; ++id) {
        if (!m_random.chance(0.3))
            continue;
        for (int index : m_random.distinct(m_random.between(1, 3), int(documents.size()))) {
            stk.bind(id).bind(documents[index]).bind(m_random.chance(0.7) ? 1 : 0).bind(m_random.chance(0.3) ? 1 : 0);
            stk.insertRow();
        }
    }
    report(stk, "stk..stk_cfgOperDrepturi");
}

void SuiteGenerator::fillMemberships(SqliteBulk& suite) {
    suite.beginTable("INSERT INTO admUserGrup (usID, grID, IdOperator, DataAct) VALUES (?, ?, ?, ?)");
    m_groupCount.assign(std::size_t(m_size.users), 0);
    for (int id = 1; id <= m_size.users; ++id) {
        for (int group : m_random.distinct(std::min(m_size.groups, m_random.between(1, 4)), m_size.groups)) {
            suite.bind(id).bind(group + 1).bind(Operator).bind(randomDate());
            suite.insertRow();
            ++m_groupCount[std::size_t(id - 1)];
        }
    }
    report(suite, "admUserGrup");
}

std::vector<int> SuiteGenerator::groupAuthors() {
    std::vector<int> authors = m_random.distinct(std::min(m_size.authorsPerGroup, m_size.authors), m_size.authors);
    std::sort(authors.begin(), authors.end());
    for (int& author : authors)
        ++author;
    return authors;
}

std::vector<int> SuiteGenerator::groupOperations(int count) {
    const int stamp = ++m_groupStamp;
    std::vector<int> chosen;
    while (int(chosen.size()) < count) {
        const std::vector<int>& moduleOps = m_operationsOf[std::size_t(m_random.below(m_size.modules))];
        for (int op : moduleOps) {
            if (int(chosen.size()) == count)
                break;
            if (m_opStamp[std::size_t(op)] != stamp && m_random.chance(0.7)) {
                m_opStamp[std::size_t(op)] = stamp;
                chosen.push_back(op);
            }
        }
    }
    return chosen;
}

void SuiteGenerator::fillGrants(SqliteBulk& suite) {
    m_opStamp.assign(m_operations.size(), 0);
    m_groupStamp = 0;
    const int offered = std::min(int(m_operations.size()), m_size.operationsPerGroup * 11 / 10);
    std::vector<std::vector<int>> authorsOf(std::size_t(m_size.groups));
    suite.beginTable("INSERT INTO admGrupAutor (auID, grID, IdOperator, DataAct) VALUES (?, ?, ?, ?)");
    for (int group = 1; group <= m_size.groups; ++group) {
        authorsOf[std::size_t(group - 1)] = groupAuthors();
        for (int author : authorsOf[std::size_t(group - 1)]) {
            suite.bind(author).bind(group).bind(Operator).bind(randomDate());
            suite.insertRow();
        }
    }
    report(suite, "admGrupAutor");

    suite.beginTable(
        "INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct) VALUES (?, ?, ?, ?, ?, ?)");
    for (int group = 1; group <= m_size.groups; ++group) {
        const std::vector<int> operations = groupOperations(offered);
        const QString date = randomDate();
        // Each company of the group gets most of the group's operations, not always the same ones.
        for (int author : authorsOf[std::size_t(group - 1)]) {
            for (int index : m_random.distinct(std::min(offered, m_size.operationsPerGroup), offered)) {
                if (m_firstOperation < 0) {
                    m_firstAuthor = author;
                    m_firstOperation = operations[std::size_t(index)];
                }
                const Operation& op = m_operations[std::size_t(operations[std::size_t(index)])];
                suite.bind(author).bind(group).bind(op.opID).bind(op.id).bind(Operator).bind(date);
                suite.insertRow();
            }
        }
    }
    report(suite, "admGrupOperatii");

    suite.beginTable("INSERT INTO admGrupPuncteLucru (grID, IdPctLucru) VALUES (?, ?)");
    for (int group = 1; group <= m_size.groups; ++group) {
        for (int author : authorsOf[std::size_t(group - 1)]) {
            for (int point : m_workPointsOf[std::size_t(author - 1)]) {
                if (m_random.chance(0.3)) {
                    suite.bind(group).bind(point);
                    suite.insertRow();
                }
            }
        }
    }
    report(suite, "admGrupPuncteLucru");
}

void SuiteGenerator::fillBrands(SqliteBulk& suite, SqliteBulk& stk) {
    QHash<QString, int> used;
    stk.beginTable("INSERT INTO FAZ_Brand (IdBrand, Brand, Activ) VALUES (?, ?, ?)");
    for (int id = 1; id <= m_size.brands; ++id) {
        const QString name = m_random.pick(companyWords()) + QLatin1Char(' ') + m_random.pick(brandWords());
        stk.bind(id).bind(uniqueName(used, name, QStringLiteral(" "))).bind(m_random.chance(0.9) ? 1 : 0);
        stk.insertRow();
    }
    report(stk, "stk..FAZ_Brand");

    suite.beginTable("INSERT INTO CRM_Author (IdAuthor, IdBrand, UserId, DataAct) VALUES (?, ?, ?, ?)");
    for (int id = 1; id <= m_size.brands; ++id) {
        for (int author : m_random.distinct(m_random.chance(0.1) ? 2 : 1, m_size.authors)) {
            suite.bind(author + 1).bind(id).bind(1).bind(randomStamp());
            suite.insertRow();
        }
    }
    report(suite, "CRM_Author");

    QSet<qint64> roles;
    suite.beginTable(
        "INSERT INTO CRM_User (UserId, IdBrand, isSupervizorBrand, isAdministrator, DataAct) VALUES (?, ?, ?, ?, ?)");
    while (roles.size() < std::min<qint64>(m_size.brandRoles, qint64(m_size.users) * m_size.brands)) {
        const int user = m_random.between(1, m_size.users);
        const int brand = m_random.between(1, m_size.brands);
        if (roles.contains(qint64(user) * 1000000 + brand))
            continue;
        roles.insert(qint64(user) * 1000000 + brand);
        const bool administrator = m_random.chance(0.1);
        suite.bind(user).bind(brand).bind(!administrator && m_random.chance(0.15) ? 1 : 0).bind(administrator ? 1 : 0);
        suite.bind(randomStamp());
        suite.insertRow();
    }
    report(suite, "CRM_User");
}

void SuiteGenerator::fillRightsTargets(SqliteBulk& suite) {
    const int user = m_size.users + 1;
    const int group = m_size.groups + 1;
    const QString date = randomDate();
    suite.beginTable("INSERT INTO admUser (usID, usCod, usDenumire, usDomeniu, usAlias, IdOperator, DataAct) VALUES "
                     "(?, ?, ?, ?, ?, ?, ?)");
    suite.bind(user).bind(RightsUserCode).bind(QStringLiteral("Audit Douăzeci Grupuri")).bind("ORDAVIA");
    suite.bind("audit20").bind(Operator).bind(randomStamp());
    suite.insertRow();
    report(suite, "admUser (rights targets)");

    suite.beginTable(
        "INSERT INTO AdmGrup (grID, grCod, grDenumire, grobs, IdOperator, DataAct) VALUES (?, ?, ?, ?, ?, ?)");
    suite.bind(group).bind(RightsGroupCode).bind(QStringLiteral("Audit: o operație pentru zece mii de utilizatori"));
    suite.bindNull().bind(Operator).bind(randomStamp());
    suite.insertRow();
    report(suite, "AdmGrup (rights targets)");

    if (m_firstOperation < 0)
        return;
    const Operation& op = m_operations[std::size_t(m_firstOperation)];
    suite.beginTable("INSERT INTO admGrupAutor (auID, grID, IdOperator, DataAct) VALUES (?, ?, ?, ?)");
    suite.bind(m_firstAuthor).bind(group).bind(Operator).bind(date);
    suite.insertRow();
    report(suite, "admGrupAutor (rights targets)");
    suite.beginTable(
        "INSERT INTO admGrupOperatii (auID, grID, opID, ID, IdOperator, DataAct) VALUES (?, ?, ?, ?, ?, ?)");
    suite.bind(m_firstAuthor).bind(group).bind(op.opID).bind(op.id).bind(Operator).bind(date);
    suite.insertRow();
    report(suite, "admGrupOperatii (rights targets)");

    // The group's members are users in fewer than four groups, so that the users with the most
    // groups, which the window benchmark clicks on, stay as they were.
    std::vector<int> candidates;
    for (int id = 1; id <= m_size.users; ++id)
        if (m_groupCount[std::size_t(id - 1)] < 4)
            candidates.push_back(id);
    suite.beginTable("INSERT INTO admUserGrup (usID, grID, IdOperator, DataAct) VALUES (?, ?, ?, ?)");
    const int members = std::min(RightsOperationUsers, int(candidates.size()));
    for (int index : m_random.distinct(members, int(candidates.size()))) {
        suite.bind(candidates[std::size_t(index)]).bind(group).bind(Operator).bind(date);
        suite.insertRow();
    }
    for (int index : m_random.distinct(std::min(RightsUserGroups, m_size.groups), m_size.groups)) {
        suite.bind(user).bind(index + 1).bind(Operator).bind(date);
        suite.insertRow();
    }
    report(suite, "admUserGrup (rights targets)");
}

void SuiteGenerator::fillLargeModule(SqliteBulk& suite) {
    const int module = m_size.modules + 1;
    suite.beginTable("INSERT INTO admModul (mdID, mdDenumire) VALUES (?, ?)");
    suite.bind(module).bind(QString::fromLatin1(LargeModuleName));
    suite.insertRow();
    report(suite, "admModul (large module)");
    suite.beginTable("INSERT INTO admOperatiiModul (opID, mdID, Id, opDenumire, opIdParinte) VALUES (?, ?, ?, ?, ?)");
    const int firstId = int(m_operations.size()) + 1;
    for (int opID = 1; opID <= LargeModuleOperations; ++opID) {
        suite.bind(opID).bind(module).bind(firstId + opID - 1);
        suite.bind(m_random.pick(operationVerbs()) + QLatin1Char(' ') + m_random.pick(operationNouns())).bindNull();
        suite.insertRow();
    }
    report(suite, "admOperatiiModul (large module)");
}
