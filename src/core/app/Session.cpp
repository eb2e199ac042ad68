#include "app/Session.h"

namespace kinmap {

Session::Session(UserInterface& userInterface) : Workspace(userInterface)
{
    personList.whileWaiting = [this] { ui.keepPainting(); };
}

} // namespace kinmap
