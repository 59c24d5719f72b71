#include "db/DbError.h"

namespace db {

DbError::DbError(int number, QString description, QString source, QString helpFile, int helpContext)
    : m_number(number == 0 ? GeneralError : number), m_description(std::move(description)), m_source(std::move(source)),
      m_helpFile(std::move(helpFile)), m_helpContext(helpContext),
      m_what((QString::number(m_number) + QStringLiteral(": ") + m_description).toStdString()) {}

} // namespace db
