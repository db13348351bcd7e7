#include "app/SingleInstance.h"

InstanceRole RoleFromMutexCreation(bool gotHandle, uint32_t lastError) {
    if (lastError == MutexErrorAlreadyExists) return InstanceRole::Second; // opened the first one's mutex
    if (!gotHandle && lastError == MutexErrorAccessDenied) return InstanceRole::Second;
    // Any other failure (out of resources, a name taken by another kind of object) starts
    // normally: better a second instance than none.
    return InstanceRole::First;
}
