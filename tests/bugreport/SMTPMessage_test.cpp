// What the client makes of the server text and of the document before any
// byte is sent: host and port, the envelope, and header lines that a value
// cannot multiply.
#include <gtest/gtest.h>

#include "SMTPConnection.h"
#include "SMTPMessage.h"

namespace {

TEST(SmtpServerText, GivesTheHostAndThePortOr25) {
  struct TCase {
    std::string Text, Host;
    int Port;
  };
  for (const TCase& c : std::vector<TCase>{{"smtp.example.org", "smtp.example.org", 25},
                                           {" mail.example.org:2525 ", "mail.example.org", 2525},
                                           {"127.0.0.1:1", "127.0.0.1", 1},
                                           {"[::1]:65535", "::1", 65535},
                                           {"[::1]", "::1", 25},
                                           {"fe80::1:25", "fe80::1:25", 25}}) {
    SCOPED_TRACE(c.Text);
    std::string host;
    int port = 0;
    SplitHostPort(c.Text, host, port);
    EXPECT_EQ(host, c.Host);
    EXPECT_EQ(port, c.Port);
  }
  for (const char* bad : {"", "  ", ":25", "host:", "host:0", "host:65536", "host:25x", "host:-1", "[::1", "[::1]25", "[]:25"}) {
    SCOPED_TRACE(bad);
    std::string host;
    int port = 0;
    try {
      SplitHostPort(bad, host, port);
      ADD_FAILURE() << "accepted as " << host << " port " << port;
    } catch (const ESMTPError& e) {
      EXPECT_EQ(e.Number, WSAEINVAL);
    }
  }
}

TEST(SmtpDocument, HeaderValuesStayOnTheirLineAndTheBodyEndsWithALineEnd) {
  TDocHeaders h;
  h.Add("From", "me@example.org\r\nBcc: everyone@example.org");
  h.Add("Subject", "one\ntwo\rthree");
  h.Add("CC", "");
  const TMailData d = MailData(h, "");
  EXPECT_EQ(d.Headers, "From: me@example.org Bcc: everyone@example.org\r\nSubject: one two three\r\nCC:\r\n\r\n");
  EXPECT_EQ(d.Body, "");
  EXPECT_EQ(MailData(h, "x").Body, "x\r\n");
  EXPECT_EQ(MailData(h, "x\r\n").Body, "x\r\n");
  EXPECT_EQ(MailData(h, ".").Body, "..\r\n");
  EXPECT_EQ(MailData(h, "\n\n.a\r\r\n.").Body, "\r\n\r\n..a\r\n\r\n..\r\n");
  EXPECT_EQ(d.Size(), d.Headers.size());
}

TEST(SmtpDocument, EnvelopeComesFromTheHeadersAndRefusesWhatCouldEndACommand) {
  TDocHeaders h;
  h.Add("To", "Support <support@usagram.example>, b@example.org; c@example.org,");
  h.Add("From", " Jane Doe <jane@example.org> ");
  h.Add("CC", "d@example.org");
  EXPECT_EQ(Recipients(h),
            (std::vector<std::string>{"support@usagram.example", "b@example.org", "c@example.org", "d@example.org"}));
  EXPECT_EQ(EnvelopeAddress(h.Value("from")), "jane@example.org");
  EXPECT_EQ(EnvelopeAddress("plain@example.org"), "plain@example.org");

  TDocHeaders none;
  none.Add("To", "");
  none.Add("CC", " ");
  EXPECT_TRUE(Recipients(none).empty());

  EXPECT_TRUE(ValidEnvelopeAddress("jane@example.org"));
  EXPECT_TRUE(ValidEnvelopeAddress("j\xE9r\xF4me@example.org"));
  for (const char* bad : {"", "jane doe@example.org", "a@b>\r\nRSET", "<a@b", "a@b\t", "a\x7F@b"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ValidEnvelopeAddress(bad));
  }
}

}  // namespace
