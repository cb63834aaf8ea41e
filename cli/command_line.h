#pragma once

#include "cli/cli_command.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// norvikctl's top level: picks the family named by the first word and hands it the rest.
// "norvikctl", "norvikctl --help" and "norvikctl help" list the families; "norvikctl help FAMILY"
// and "norvikctl FAMILY --help" show the family's usage.
class CCommandLine {
public:
    struct Family {
        const char* name;
        const char* summary;
        std::function<std::unique_ptr<CCliCommand>()> create;
    };

    explicit CCommandLine(std::vector<Family> families) : families_(std::move(families)) {}

    int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) const;

private:
    void PrintUsage(std::ostream& out) const;
    const Family* Find(const std::string& name) const;

    std::vector<Family> families_;
};
