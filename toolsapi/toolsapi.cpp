// The service references that the IDE and its packages share.
#include "toolsapi/toolsapi.h"

namespace ToolsAPI {

INTAWelcomePagePluginService* WelcomePagePluginService = nullptr;
IUnknown* BorlandIDEServices = nullptr;

}  // namespace ToolsAPI
