#include "messages/RegisteredMessages.h"

const UINT ShowSettingsMessage = RegisterWindowMessageW(ShowSettingsMessageName);
const UINT TaskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
