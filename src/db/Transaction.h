#pragma once

#include "db/Connection.h"

namespace db {

// Begins a transaction on construction and rolls it back on destruction unless commit() ran.
// A rollback in the destructor never throws, so the error that unwound the stack is the one
// that reaches the caller.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& m_connection;
    bool m_open = false;
};

} // namespace db
