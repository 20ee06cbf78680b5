// Commands: creation, handlers before and after the simulator's own, and the three phases.
#include <memory>
#include <string>
#include <vector>

#include "HostInternal.h"
#include "XPLMUtilities.h"

namespace simhost {
namespace detail {

struct Command {
    std::string name;
    std::string description;
    struct Handler {
        XPLMCommandCallback_f fn;
        int before;
        void *ref;
    };
    std::vector<Handler> handlers;
};

namespace {

std::vector<std::unique_ptr<Command>> gCommands;

Command *Find(const std::string &name)
{
    for (const auto &command : gCommands)
        if (command->name == name)
            return command.get();
    return nullptr;
}

Command *Resolve(XPLMCommandRef ref, const char *call)
{
    if (ref == nullptr)
        return nullptr;
    for (const auto &command : gCommands)
        if (command.get() == ref)
            return command.get();
    HostError("%s with an invalid command handle", call);
    return nullptr;
}

// X-Plane runs the "before" handlers, then its own action, then the "after" handlers; a handler
// returning 0 ends the chain.
void Run(Command *command, XPLMCommandPhase phase)
{
    if (command == nullptr)
        return;
    std::vector<Command::Handler> handlers = command->handlers; // a handler may unregister itself
    for (int pass = 1; pass >= 0; pass--) {
        for (const Command::Handler &h : handlers) {
            if (h.before != pass)
                continue;
            if (h.fn(command, phase, h.ref) == 0)
                return;
        }
    }
}

} // namespace

void ResetCommands()
{
    gCommands.clear();
}

} // namespace detail

using namespace detail;

std::vector<CommandInfo> Commands()
{
    std::vector<CommandInfo> list;
    for (const auto &command : gCommands)
        list.push_back(CommandInfo{command->name, command->description, (int)command->handlers.size()});
    return list;
}

bool HasCommand(const std::string &name)
{
    return Find(name) != nullptr;
}

bool CommandOnce(const std::string &name)
{
    Command *command = Find(name);
    if (command == nullptr)
        return false;
    Run(command, xplm_CommandBegin);
    Run(command, xplm_CommandEnd);
    return true;
}

bool CommandPhase(const std::string &name, int phase)
{
    Command *command = Find(name);
    if (command == nullptr)
        return false;
    Run(command, phase);
    return true;
}

} // namespace simhost

using namespace simhost::detail;

XPLM_API XPLMCommandRef XPLMFindCommand(const char *inName)
{
    return inName != nullptr ? Find(inName) : nullptr;
}

XPLM_API XPLMCommandRef XPLMCreateCommand(const char *inName, const char *inDescription)
{
    if (inName == nullptr || inName[0] == 0) {
        HostError("XPLMCreateCommand without a name");
        return nullptr;
    }
    if (Command *existing = Find(inName))
        return existing;
    gCommands.push_back(std::make_unique<Command>());
    Command *command = gCommands.back().get();
    command->name = inName;
    command->description = inDescription != nullptr ? inDescription : "";
    return command;
}

XPLM_API void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore,
                                         void *inRefcon)
{
    Command *command = Resolve(inComand, "XPLMRegisterCommandHandler");
    if (command == nullptr || inHandler == nullptr)
        return;
    command->handlers.push_back(Command::Handler{inHandler, inBefore ? 1 : 0, inRefcon});
}

XPLM_API void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore,
                                           void *inRefcon)
{
    Command *command = Resolve(inComand, "XPLMUnregisterCommandHandler");
    if (command == nullptr)
        return;
    auto &handlers = command->handlers;
    for (auto it = handlers.begin(); it != handlers.end(); ++it) {
        if (it->fn == inHandler && it->before == (inBefore ? 1 : 0) && it->ref == inRefcon) {
            handlers.erase(it);
            return;
        }
    }
    HostError("XPLMUnregisterCommandHandler: no such handler on %s", command->name.c_str());
}

XPLM_API void XPLMCommandBegin(XPLMCommandRef inCommand)
{
    Run(Resolve(inCommand, "XPLMCommandBegin"), xplm_CommandBegin);
}

XPLM_API void XPLMCommandEnd(XPLMCommandRef inCommand)
{
    Run(Resolve(inCommand, "XPLMCommandEnd"), xplm_CommandEnd);
}

XPLM_API void XPLMCommandOnce(XPLMCommandRef inCommand)
{
    Command *command = Resolve(inCommand, "XPLMCommandOnce");
    Run(command, xplm_CommandBegin);
    Run(command, xplm_CommandEnd);
}
