// A desktop for the mail hand-off tests: the mail programs it knows are set by the test, and
// every start is recorded instead of run.
#pragma once

#include <string>
#include <vector>

#include "platform/mapi/MailHandoff.h"

struct FakeMailDesktop : MailDesktop {
    MailtoHandler handler;
    std::string rfc822Exec;  // the Exec line of the message/rfc822 handler
    std::string xdgEmail;    // where xdg-email is, empty when it is not installed
    bool launchWorks = true;
    std::vector<std::vector<std::string>> launched;

    MailtoHandler MailtoHandlerEntry() override { return handler; }
    std::string DefaultExecFor(const std::string& type) override { return type == "message/rfc822" ? rfc822Exec : ""; }
    std::string FindProgram(const std::string& name) override { return name == "xdg-email" ? xdgEmail : ""; }
    bool Launch(const std::vector<std::string>& argv) override {
        launched.push_back(argv);
        return launchWorks;
    }
};
