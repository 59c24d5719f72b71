#pragma once

#include <QString>
#include <QStringList>

// Word pools from which the generator builds realistic-looking Romanian names of companies,
// places, people, modules, operations, groups and brands.
namespace SuiteNames {

const QStringList& surnames();
const QStringList& maleFirstNames();
const QStringList& femaleFirstNames();
const QStringList& cities();
const QStringList& companyWords();      // first word of a company name, also its nickname
const QStringList& companyActivities(); // second word of a company name
const QStringList& workPointKinds();    // "Depozit", "Magazin", ...
const QStringList& streets();
const QStringList& moduleDomains();
const QStringList& moduleQualifiers();
const QStringList& operationVerbs();
const QStringList& operationNouns();
const QStringList& departments(); // group codes and names: "CONTAB|Contabilitate"
const QStringList& brandWords();

// Lower-case ASCII form of a name (diacritics dropped), as user codes and logins are written.
QString asciiLower(const QString& text);
// The short upper-case code of a city, its first three ASCII letters: "Cluj-Napoca" gives "CLU".
QString cityCode(const QString& city);

} // namespace SuiteNames
