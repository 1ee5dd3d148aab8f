#include "Command.h"

#include "PlatformTexts.h"

#include <exception>
#include <new>

void RunCommand(Dialogs& dialogs, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::bad_alloc&) {
        dialogs.Error(platformtext::kOutOfMemory);
    } catch (const std::exception& e) {
        dialogs.Error(e.what());
    } catch (...) {
        dialogs.Error(platformtext::kUnknownError);
    }
}
