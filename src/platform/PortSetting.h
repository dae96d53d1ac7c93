#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tembrel {

// The view server's port and the secret of the live link's path, kept for
// the user apart from the eight edit texts (whose save keeps nothing else),
// so that a live link added to Google Earth stays valid across runs. Neither
// call throws.
class PortSetting {
public:
    virtual ~PortSetting() = default;
    // The port last saved; 0 when none was or it cannot be read.
    virtual std::uint16_t Read() = 0;
    // False when it could not be saved; what was stored before is then kept.
    virtual bool Save(std::uint16_t port) = 0;
    // The secret last saved, as saved; empty when none was or it cannot be
    // read. Its caller judges its form.
    virtual std::string ReadSecret() = 0;
    // As Save; only the user may read it back.
    virtual bool SaveSecret(const std::string& secret) = 0;
};

// The values ViewServerPort (a DWORD) and ViewServerSecret (a string) of
// HKEY_CURRENT_USER\Software\Tembrel on Windows, the files
// Tembrel/ViewServerPort and Tembrel/ViewServerSecret of the user's
// configuration folder elsewhere.
std::unique_ptr<PortSetting> CreateUserPortSetting();

} // namespace tembrel
