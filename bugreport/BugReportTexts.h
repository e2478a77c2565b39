// Texts of the bug report window and of its SMTP client, each written once.
// The printf-style ones are formatted where they are used.
#pragma once

namespace Msg {
// Where the reports go: a reserved example domain, no real mailbox.
inline constexpr const char* SupportAddress = "support@usagram.example";

// The window
inline constexpr const char* BugReportCaption = "Buf report";
inline constexpr const char* TypeReport = "Please type you bug report below";
inline constexpr const char* ThenSend = "Then click on Send to send it to me by e-mail";
inline constexpr const char* SendButton = "Send";
inline constexpr const char* At = "at ";
inline constexpr const char* CancelButton = "Cancel";
inline constexpr const char* YourSmtpServer = "Your SMTP server :";
inline constexpr const char* YourEmail = "Your e-mail address :";
inline constexpr const char* StopMusic = "Stop the music !!!";
inline constexpr const char* NeedsLogin = "My server needs a login";
inline constexpr const char* YourUserName = "User name :";
inline constexpr const char* YourPassword = "Password :";
inline constexpr const char* RememberPassword = "Remember the password";

// Send
inline constexpr const char* NoSmtpServer = "You must give the address of your SMTP server.";
inline constexpr const char* NoEmailAddress = "You must give you e-mail adress.";
inline constexpr const char* NoUserName = "You must give your user name.";
inline constexpr const char* NoPassword = "You must give your password.";
inline constexpr const char* IncorrectAddress = "Incorrect address format";
inline constexpr const char* ReportSent = "Your bug-report has been sent.";
inline constexpr const char* NotConnected = "Not connected to SMTP server";
inline constexpr const char* SmtpErrorFormat = "%d - %s%s";

// Status bar: the client's states
inline constexpr const char* StatusConnecting = "Connecting to SMTP server: %s...";
inline constexpr const char* StatusResolving = "Resolving Host";
inline constexpr const char* StatusResolved = "Host Resolved";
inline constexpr const char* StatusConnected = "Connected to SMTP server: ";
inline constexpr const char* StatusDisconnecting = "Disconnecting from SMTP server: %s...";
inline constexpr const char* StatusDisconnected = "Disconnected from SMTP server: ";
// A connection that was never made does not end "Disconnected".
inline constexpr const char* StatusNotConnected = "Not connected to SMTP server: ";
inline constexpr const char* StatusCancelled = "Cancelled: the connection to the SMTP server is closed";
// Status bar: the document transfer
inline constexpr const char* StatusDocInitialize = "Initialize document transfer";
inline constexpr const char* StatusDocHeaders = "Sending headers";
inline constexpr const char* StatusDocSending = "Sending...";
inline constexpr const char* StatusDocProgress = "Sending data: %d of %d bytes (%d%%)";
inline constexpr const char* StatusDocBroken = "Broken transfer";
inline constexpr const char* StatusDocSent = "Mail sent to %s (%d bytes of data)";

// The mail
inline constexpr const char* MailSubject = "Bug-Usagram";
inline constexpr const char* MailMimeVersion = "1.0";
// The program's texts are code page 1252.
inline constexpr const char* MailCharset = "windows-1252";

// The SMTP client's own error descriptions (the number is the server's
// reply code or the Winsock error)
inline constexpr const char* SmtpErrorTitle = "SMTP";
inline constexpr const char* SmtpNoWinsock = "Windows Sockets cannot be started";
inline constexpr const char* SmtpBadPort = "Invalid port in the server address: ";
inline constexpr const char* SmtpNoHost = "No SMTP server given";
inline constexpr const char* SmtpHostNotFound = "Host not found: ";
inline constexpr const char* SmtpCannotConnect = "Cannot connect to ";
inline constexpr const char* SmtpTimeout = "No answer from the SMTP server within %d seconds";
inline constexpr const char* SmtpConnectionClosed = "Connection closed by the SMTP server";
inline constexpr const char* SmtpNetworkError = "Network error while talking to the SMTP server";
inline constexpr const char* SmtpBadReply = "The SMTP server's answer cannot be understood";
inline constexpr const char* SmtpRefused = "The SMTP server refused ";
inline constexpr const char* SmtpRefusedConnection = "The SMTP server refused the connection";
inline constexpr const char* SmtpRefusedMessage = "The SMTP server refused the message";
inline constexpr const char* SmtpNotConnected = "Not connected to an SMTP server";
inline constexpr const char* SmtpBadSender = "Invalid sender address: ";
inline constexpr const char* SmtpNoRecipient = "The document has no recipient";
inline constexpr const char* SmtpBadRecipient = "Invalid recipient address: ";
inline constexpr const char* SmtpStopped = "The SMTP client was stopped";
inline constexpr const char* SmtpLoginRefused = "The SMTP server refused the login";
inline constexpr const char* SmtpNoTls =
    "The SMTP server %s offers no encryption (STARTTLS): the password is not sent";
inline constexpr const char* SmtpNoLoginMethod = "The SMTP server %s offers no login this program knows (PLAIN or LOGIN)";
// TLS
inline constexpr const char* TlsFailed = "The secure connection with the SMTP server %s failed";
inline constexpr const char* TlsCertificate = "The certificate of the SMTP server %s is refused: %s";
inline constexpr const char* TlsUntrusted = "it is not issued by an authority this computer trusts";
inline constexpr const char* TlsOtherName = "it is made out for another name";
inline constexpr const char* TlsExpired = "it has expired or is not valid yet";
inline constexpr const char* TlsRevoked = "it has been revoked";
inline constexpr const char* TlsWrongUsage = "it is not meant for a server";
inline constexpr const char* TlsCode = "error 0x%08X";
inline constexpr const char* SmtpInternalError = "The SMTP client failed unexpectedly";
}  // namespace Msg
