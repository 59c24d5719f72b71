#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace common {

// Text as the administrator's searches compare it: without regard to case and without
// diacritics, so that "stefanescu" finds "Ștefănescu" and "fagaras" finds "Făgăraș" (ă â î ș ş ț ţ
// compare as a a i s s t t, and so do the accented letters of the other Latin alphabets). Every
// character folds to exactly one, so a position in the folded text is the same position in the
// original.
QChar searchFolded(QChar c);
QString foldedForSearch(QStringView text);

} // namespace common
