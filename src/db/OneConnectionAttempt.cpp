#include "db/OneConnectionAttempt.h"

namespace db {

namespace {

int g_depth = 0;

std::optional<ConnectionError>& remembered() {
    static std::optional<ConnectionError> failure;
    return failure;
}

} // namespace

OneConnectionAttempt::OneConnectionAttempt() : m_outermost(g_depth == 0) {
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

void OneConnectionAttempt::remember(const ConnectionError& error) {
    if (active() && !remembered())
        remembered() = error;
}

} // namespace db
