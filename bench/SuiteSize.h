#pragma once

#include <algorithm>

// How large a generated suite is. The defaults are the benchmark's large suite; scaled() makes a
// proportionally smaller one (for profiling under an instrumenting tool).
struct SuiteSize {
    int users = 20000;
    int persons = 20000;
    int groups = 2000;
    int authors = 200;
    int workPoints = 5000;
    int modules = 500;
    int operations = 20000;
    int operationsWithParent = 2000;
    int operationsPerGroup = 200; // granted to a group for each of its companies
    int authorsPerGroup = 5;
    int brands = 80;
    int brandRoles = 8000;

    SuiteSize scaled(double factor) const {
        auto part = [factor](int value) { return std::max(1, int(value * factor)); };
        SuiteSize s;
        s.users = part(users);
        s.persons = part(persons);
        s.groups = part(groups);
        s.authors = std::max(authorsPerGroup, part(authors));
        s.workPoints = std::max(s.authors, part(workPoints));
        s.modules = part(modules);
        s.operations = std::max(s.modules, part(operations));
        s.operationsWithParent = part(operationsWithParent);
        s.operationsPerGroup = std::min(s.operations * 10 / 11, operationsPerGroup);
        s.authorsPerGroup = authorsPerGroup;
        s.brands = part(brands);
        s.brandRoles = part(brandRoles);
        return s;
    }
};
