// Small hand-written internet messages for the .eml reader tests.
#pragma once

namespace eml {

inline const char kPlainAscii[] =
    "From: Ann Example <ann@example.com>\r\n"
    "To: Bob <bob@example.com>\r\n"
    "Subject: Status\r\n"
    "Date: Tue, 15 Nov 1994 08:12:31 -0500\r\n"
    "\r\n"
    "Hello Bob,\r\n"
    "all is well.\r\n";

inline const char kLatin1QuotedPrintable[] =
    "From: =?ISO-8859-1?Q?Ren=E9?= <rene@example.com>\r\n"
    "To: \"a\\\\b\" <ab@example.com>\r\n"
    "Subject: =?ISO-8859-1?Q?Caf=E9?= =?UTF-8?B?w6k=?=\r\n"
    "Content-Type: text/plain; charset=ISO-8859-1\r\n"
    "Content-Transfer-Encoding: quoted-printable\r\n"
    "\r\n"
    "caf=E9 cr=E8me =\r\n"
    "soft break\r\n";

inline const char kHtmlOnly[] =
    "From: a@example.com\r\n"
    "Subject: html\r\n"
    "Content-Type: text/html; charset=utf-8\r\n"
    "\r\n"
    "<html><body><p>caf\xC3\xA9 &amp; co</p></body></html>\r\n";

inline const char kAlternativePlainFirst[] =
    "From: a@example.com\r\n"
    "Subject: alt\r\n"
    "Content-Type: multipart/alternative; boundary=\"b\"\r\n"
    "\r\n"
    "--b\r\n"
    "Content-Type: text/plain; charset=us-ascii\r\n"
    "\r\n"
    "plain text\r\n"
    "--b\r\n"
    "Content-Type: text/html; charset=us-ascii\r\n"
    "\r\n"
    "<p>html text</p>\r\n"
    "--b--\r\n";

inline const char kAlternativeHtmlFirst[] =
    "From: a@example.com\r\n"
    "Subject: alt\r\n"
    "Content-Type: multipart/alternative; boundary=\"b\"\r\n"
    "\r\n"
    "--b\r\n"
    "Content-Type: text/html; charset=us-ascii\r\n"
    "\r\n"
    "<p>html text</p>\r\n"
    "--b\r\n"
    "Content-Type: text/plain; charset=us-ascii\r\n"
    "\r\n"
    "plain text\r\n"
    "--b--\r\n";

// Parts: 0 text, 1 filename=, 2 name=, 3 RFC 2231, 4 Exchange style, 5 nameless, 6 traversal.
inline const char kMixedNames[] =
    "From: a@example.com\r\n"
    "To: b@example.com\r\n"
    "Cc: c@example.com\r\n"
    "Subject: files\r\n"
    "Content-Type: multipart/mixed; boundary=\"m\"\r\n"
    "\r\n"
    "--m\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "see attached\r\n"
    "--m\r\n"
    "Content-Type: application/pdf\r\n"
    "Content-Disposition: attachment; filename=\"report.pdf\"\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "JVBERi0xLjQKJcOkw7zDtsOf\r\n"
    "--m\r\n"
    "Content-Type: image/gif; name=\"dot.gif\"\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "R0lGODlhAQABAAAAACw=\r\n"
    "--m\r\n"
    "Content-Type: application/octet-stream\r\n"
    "Content-Disposition: attachment;\r\n"
    " filename*=UTF-8''r%C3%A9sum%C3%A9%20final.doc\r\n"
    "\r\n"
    "doc\r\n"
    "--m\r\n"
    "Content-Type: application/vnd.ms-excel; name=\"book.xls\"\r\n"
    "Content-Disposition: attachment; filename=\"book.xls\"; size=3;\r\n"
    "\tcreation-date=\"Tue, 01 Jan 2019 10:00:00 GMT\";\r\n"
    "\tmodification-date=\"Tue, 01 Jan 2019 10:00:00 GMT\"\r\n"
    "\r\n"
    "xls\r\n"
    "--m\r\n"
    "Content-Type: application/octet-stream\r\n"
    "\r\n"
    "blob\r\n"
    "--m\r\n"
    "Content-Type: application/octet-stream\r\n"
    "Content-Disposition: attachment; filename=\"../../etc/passwd\"\r\n"
    "\r\n"
    "evil\r\n"
    "--m--\r\n";

// The picture's HTML part comes first: the picture is inline.
inline const char kRelatedHtmlFirst[] =
    "From: a@example.com\r\n"
    "Subject: picture\r\n"
    "Content-Type: multipart/related; boundary=\"r\"\r\n"
    "\r\n"
    "--r\r\n"
    "Content-Type: text/html; charset=utf-8\r\n"
    "\r\n"
    "<p>look</p><img src=\"cid:logo.1@host\" alt=\"\">\r\n"
    "--r\r\n"
    "Content-Type: image/png; name=\"logo.png\"\r\n"
    "Content-ID: <logo.1@host>\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "iVBORw0KGgo=\r\n"
    "--r--\r\n";

// The picture comes before the HTML that shows it: it is listed.
inline const char kRelatedPictureFirst[] =
    "From: a@example.com\r\n"
    "Subject: picture\r\n"
    "Content-Type: multipart/related; boundary=\"r\"\r\n"
    "\r\n"
    "--r\r\n"
    "Content-Type: image/png; name=\"logo.png\"\r\n"
    "Content-ID: <logo.1@host>\r\n"
    "Content-Transfer-Encoding: base64\r\n"
    "\r\n"
    "iVBORw0KGgo=\r\n"
    "--r\r\n"
    "Content-Type: text/html; charset=utf-8\r\n"
    "\r\n"
    "<img src=\"cid:logo.1@host\">\r\n"
    "--r--\r\n";

// Parts: 0 text, 1 a message with a subject, 2 a message without subject and sender.
inline const char kAttachedMessages[] =
    "From: a@example.com\r\n"
    "Subject: forwards\r\n"
    "Content-Type: multipart/mixed; boundary=\"f\"\r\n"
    "\r\n"
    "--f\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "two forwards\r\n"
    "--f\r\n"
    "Content-Type: message/rfc822\r\n"
    "\r\n"
    "From: inner@example.com\r\n"
    "Subject: Inner: one/two\r\n"
    "Date: Mon, 2 Jan 2006 10:00:00 +0000\r\n"
    "\r\n"
    "inner body\r\n"
    "--f\r\n"
    "Content-Type: message/rfc822\r\n"
    "\r\n"
    "X-Nothing: here\r\n"
    "\r\n"
    "anonymous\r\n"
    "--f--\r\n";

inline const char kUnterminatedBoundary[] =
    "From: a@example.com\r\n"
    "Subject: cut\r\n"
    "Content-Type: multipart/mixed; boundary=\"u\"\r\n"
    "\r\n"
    "--u\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "cut off here";

}  // namespace eml
