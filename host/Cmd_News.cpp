// somnex news: drive the news and update notifier through its COM class, as a host does.
#include "heraldex/Heraldex.h"
#include "host/ComRef.h"
#include "host/HostCommand.h"
#include "host/ServerEntry.h"
#include "platform/com/InprocServer.h"

#include <cstdio>

namespace host {

namespace {

// The notifier's object as CoCreateInstance makes it; empty when it cannot.
ComRef<IWhatNewCOM> NewNewsObject() {
    void* object = nullptr;
    if (FAILED(plat::CoCreateInstance(CLSID_WhatNewCOM, nullptr, CLSCTX_INPROC_SERVER, IID_IWhatNewCOM,
                                      &object)))
        return ComRef<IWhatNewCOM>();
    return ComRef<IWhatNewCOM>(static_cast<IWhatNewCOM*>(object));
}

int News(const Args& args) {
    if (args.empty()) return Fail("news needs an action (see 'somnex news --help')", kUsage);
    const std::string& action = args[0];
    if (action == "register" || action == "unregister")
        return RunRegistration(Args(args.begin() + 1, args.end()), "libheraldex.so", action == "register");

    struct Action {
        const char* name;
        size_t operands;
    };
    static const Action actions[] = {
        {"due", 1}, {"show", 1}, {"options", 1}, {"check", 3}, {"check-show", 3}};
    const Action* found = nullptr;
    for (const Action& a : actions)
        if (action == a.name) found = &a;
    if (!found) return Fail("unknown news action '" + action + "'", kUsage);
    if (args.size() != found->operands + 1)
        return Fail("news " + action + " needs " + (found->operands == 1 ? "PRODUCT" : "PRODUCT VERSION URL"),
                    kUsage);
    const char* product = args[1].c_str();

    ComRef<IWhatNewCOM> news = NewNewsObject();
    if (!news) return Fail(plat::LastCreateError() + " (run 'somnex news register')");
    if (action == "due") {
        std::printf("%s\n", news->IsTimeToCheck(product) ? "a check is due" : "no check is due");
    } else if (action == "show") {
        news->ShowNews(product);
    } else if (action == "options") {
        news->ShowOptions(product);
    } else if (action == "check") {
        bool found = news->CheckUpdate(product, args[2].c_str(), args[3].c_str());
        std::printf("%s\n", found ? "the check found news or an update" : "the check found nothing new");
        return found ? kOk : kFailed;
    } else {
        news->CheckUpdateAndShowNews(product, args[2].c_str(), args[3].c_str());
    }
    return kOk;
}

const HostCommandRegistrar command(
    {"news", "ACTION [ARGS...]", "Check for news and updates and show them, through the notifier's class.",
     "Actions:\n"
     "  register [--library PATH]    register the notifier (PATH defaults to libheraldex.so beside this "
     "program)\n"
     "  unregister [--library PATH]  remove its registration\n"
     "  due PRODUCT                  whether an automatic check is due (may ask to confirm)\n"
     "  check PRODUCT VERSION URL    download the news file from URL and evaluate it (exit 1: nothing new)\n"
     "  check-show PRODUCT VERSION URL  the same, then the news window\n"
     "  show PRODUCT                 the news window from the local news file\n"
     "  options PRODUCT              the connection settings dialog\n"
     "Without a display the windows are printed instead of shown.",
     News});
} // namespace

} // namespace host
