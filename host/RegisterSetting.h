#pragma once
// Where the per-user settings say the shop's shared history register is. The window sets it;
// the command line only reads it, so reading never stores anything.
#include "history/RegisterAddress.h"

namespace zorv {

inline constexpr const char* kRegisterHostSetting = "History Register Host";
inline constexpr const char* kRegisterPortSetting = "History Register Port";
inline constexpr const char* kRegisterDatabaseSetting = "History Register Database";
inline constexpr const char* kRegisterUserSetting = "History Register User";
inline constexpr const char* kRegisterEncryptionSetting = "History Register Require Encryption";
inline constexpr const char* kRegisterCaFileSetting = "History Register CA File";

// The register the settings name; an empty host (the default) means the local file only.
history::RegisterAddress ReadRegisterAddress();
void WriteRegisterAddress(const history::RegisterAddress& address);

}  // namespace zorv
