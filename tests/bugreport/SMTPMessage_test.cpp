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

TEST(SmtpServerText, WithALoginThePortIsSubmissions) {
  std::string host;
  int port = 0;
  SplitHostPort("smtp.example.org", host, port, SubmissionPort);
  EXPECT_EQ(port, 587);
  SplitHostPort("smtp.example.org:465", host, port, SubmissionPort);
  EXPECT_EQ(port, 465);
}

TEST(MailEncoding, Base64OfEveryLengthAndByte) {
  EXPECT_EQ(Base64(""), "");
  EXPECT_EQ(Base64("f"), "Zg==");
  EXPECT_EQ(Base64("fo"), "Zm8=");
  EXPECT_EQ(Base64("foo"), "Zm9v");
  EXPECT_EQ(Base64("foob"), "Zm9vYg==");
  EXPECT_EQ(Base64(std::string("\0jane\0s\xC3\xA9same", 13)), "AGphbmUAc8Opc2FtZQ==");
  EXPECT_EQ(Base64("\xFF\xFE\xFD"), "//79");
}

TEST(MailEncoding, QuotedPrintableKeepsLinesShortAndEveryByteBack) {
  EXPECT_EQ(QuotedPrintable("Caf\xE9 = cr\xE8me\r\n"), "Caf=E9 =3D cr=E8me\r\n");
  // A blank at a line's end would be lost on the way: it is written out.
  EXPECT_EQ(QuotedPrintable("end \nalso\t\rlast"), "end=20\r\nalso=09\r\nlast\r\n");
  EXPECT_EQ(QuotedPrintable("a\r\n\r\nb"), "a\r\n\r\nb\r\n");
  // Long lines get soft breaks, never inside an =XX, none over 76.
  const std::string line(100, 'x');
  const std::string encoded = QuotedPrintable(line + "\xE9" + line);
  size_t start = 0, longest = 0;
  std::string joined;
  while (start < encoded.size()) {
    size_t end = encoded.find("\r\n", start);
    std::string l = encoded.substr(start, end - start);
    longest = std::max(longest, l.size());
    if (!l.empty() && l.back() == '=') l.pop_back();  // the soft break
    joined += l;
    start = end + 2;
  }
  EXPECT_LE(longest, 76u);
  EXPECT_EQ(joined, line + "=E9" + line);
}

TEST(MailEncoding, EightBitOrLongLinesAreQuotedPrintableOtherwiseTheTextAsItStands) {
  TMailBody plain = EncodeBody("All is ASCII.\r\n", "windows-1252");
  EXPECT_EQ(plain.ContentType, "text/plain; charset=us-ascii");
  EXPECT_EQ(plain.TransferEncoding, "7bit");
  EXPECT_EQ(plain.Text, "All is ASCII.\r\n");
  TMailBody accented = EncodeBody("\xC9t\xE9", "windows-1252");
  EXPECT_EQ(accented.ContentType, "text/plain; charset=windows-1252");
  EXPECT_EQ(accented.TransferEncoding, "quoted-printable");
  EXPECT_EQ(accented.Text, "=C9t=E9\r\n");
  // A line no server takes as it stands (over 998).
  TMailBody longLine = EncodeBody(std::string(999, 'a'), "windows-1252");
  EXPECT_EQ(longLine.ContentType, "text/plain; charset=us-ascii");
  EXPECT_EQ(longLine.TransferEncoding, "quoted-printable");
  EXPECT_EQ(EncodeBody(std::string(998, 'a'), "windows-1252").TransferEncoding, "7bit");
}

TEST(MailHeaderValues, DateIsRfc5322WithTheOffset) {
  EXPECT_EQ(MailDate({2026, 12, 8, 2, 1, 5, 9, 60}), "Tue, 08 Dec 2026 01:05:09 +0100");
  EXPECT_EQ(MailDate({1999, 1, 31, 0, 23, 59, 0, -330}), "Sun, 31 Jan 1999 23:59:00 -0530");
  EXPECT_EQ(MailDate({2027, 6, 1, 2, 0, 0, 0, 0}), "Tue, 01 Jun 2027 00:00:00 +0000");
}

TEST(MailHeaderValues, MessageIdHasTheRfcFormWhateverItsParts) {
  EXPECT_EQ(MessageId({"Usagram", "20261208.1F"}, "Jane <jane@example.org>"), "<Usagram.20261208.1F@example.org>");
  // Blanks, angle brackets and at signs cannot enter; an odd domain is not
  // used.
  EXPECT_EQ(MessageId({"My tool <2>", "12 05@x"}, "no-at-sign"), "<Mytool2.1205x@usagram.invalid>");
  EXPECT_EQ(MessageId({"", " "}, "a@bad..domain"), "<report@usagram.invalid>");
  EXPECT_EQ(MessageId({"U"}, "a@b c"), "<U@usagram.invalid>");
  // Dots part atoms; an empty atom is not one.
  EXPECT_EQ(MessageId({".a..b.", "c"}, "a@b.example"), "<a.b.c@b.example>");
}

}  // namespace
