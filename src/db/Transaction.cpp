#include "db/Transaction.h"

namespace db {

Transaction::Transaction(Connection& connection) : m_connection(connection) {
    m_connection.beginTrans();
    m_open = true;
}

Transaction::~Transaction() {
    if (!m_open)
        return;
    try {
        m_connection.rollbackTrans();
    } catch (...) {
        // The error that unwound the stack is the one the caller must see.
    }
}

void Transaction::commit() {
    m_connection.commitTrans();
    m_open = false;
}

} // namespace db
