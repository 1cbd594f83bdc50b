#pragma once
// Help / Web Update: asks the update server whether a newer build of this year's program
// exists and, if the user agrees, downloads the setup program into the user's cache folder,
// starts it and closes the program so the setup can replace it.
//
// The server's version file, "/public/update.txt", is INI text:
//   [Papyra2025]
//   Version=2025.01
//   Sha256=<64 hexadecimal digits of the SHA-256 of /public/Papyra_25.EXE>
// The setup program is kept, and run, only when its digest equals that "Sha256" value. The
// real server is reached over HTTPS only; plain HTTP is accepted for a server on this machine
// (tests), and every address a redirect leads to must pass the same rule.
#include <QString>
#include <functional>
#include <optional>

// This build's version, as the version file compares it.
extern const char* const ProgramVersion;  // "2025.00"

// The settings key of the web update; its "Server" value, when set, replaces the maker's
// update server.
QString UpdateServerKey();
// The server's base address.
QString UpdateServerUrl();
// Whether an address may be fetched: HTTPS anywhere, HTTP only on the loopback interface.
bool UpdateUrlAccepted(const QString& url);

// Whether the machine has a connection to the internet. Tests replace the query.
bool IsInternetConnected();
extern std::function<bool()> InternetConnectedProbe;  // empty: ask the platform

// Fetches url into path; true only for a complete 2xx answer written in full and, with a
// sha256 (hexadecimal; an empty one matches nothing), only when the bytes have that digest. A
// failed download leaves an existing file at path untouched. Gives up after DownloadTimeoutMs
// without any data arriving. A file that cannot be written raises EInOutError with the reason.
bool DownloadToFile(const QString& url, const QString& path,
                    const std::optional<QString>& sha256 = std::nullopt);
// Where the setup program is kept once its digest matched.
QString SetupFileName();
extern int DownloadTimeoutMs;

// True when the server offers a newer version; raises EDownloadException "Unable to contact
// server." when its version file cannot be fetched.
bool CheckForUpdate();
// Fetches the setup program and checks its digest; raises EDownloadException "Unable to
// download update." (and leaves no setup program behind) otherwise.
bool DownloadUpdate();

// The menu command.
void CheckWebUpdate();
