#include "db/OneConnectionAttempt.h"

namespace db {

namespace {

int g_depth = 0;
quint64 g_lastCommand = 0;

std::optional<ConnectionError>& remembered() {
    static std::optional<ConnectionError> failure;
    return failure;
}

} // namespace

OneConnectionAttempt::OneConnectionAttempt() : m_outermost(g_depth == 0) {
    if (m_outermost)
        ++g_lastCommand;
    ++g_depth;
}

OneConnectionAttempt::~OneConnectionAttempt() {
    --g_depth;
    if (m_outermost)
        remembered().reset();
}

bool OneConnectionAttempt::active() {
    return g_depth > 0;
}

const std::optional<ConnectionError>& OneConnectionAttempt::failure() {
    return remembered();
}

quint64 OneConnectionAttempt::command() {
    return active() ? g_lastCommand : 0;
}

void OneConnectionAttempt::remember(const ConnectionError& error) {
    if (active() && !remembered())
        remembered() = error;
}

} // namespace db
