// Registry names of the bug report: its own values in the product key, and
// the keys of a mail program that suggest a server and an address.
#pragma once

namespace Reg {
inline constexpr const char* Internet = "Internet";
inline constexpr const char* SmtpServer = "ServeurSMTP";
inline constexpr const char* EmailAddress = "Adresse";
// Netscape Conference (current user) and Netscape Navigator (machine).
inline constexpr const char* NetscapeConferenceKey = "\\Software\\Netscape\\Conference\\CurrentVersion\\User user";
inline constexpr const char* NetscapeConferenceEmail = "Email";
inline constexpr const char* NetscapeNavigatorKey = "\\SOFTWARE\\Netscape\\Netscape Navigator\\Users";
inline constexpr const char* NetscapeNavigatorUser = "CurrentUser";
}  // namespace Reg
