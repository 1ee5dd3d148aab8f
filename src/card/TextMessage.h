// The message of a Text event as its Data cell holds it, every line followed by one CR, and
// as a multi-line text box holds it, the lines separated by line feeds.
#pragma once

#include <string>
#include <string_view>

// The Data of the lines in `text`. A CR or a CR LF breaks a line as an LF does, and an empty
// last line after a final line break is not a line: "Happy\nBirthday\n" and
// "Happy\nBirthday" are both "Happy\rBirthday\r"; an empty text has no line and gives "".
std::string MessageOfText(std::string_view text);

// The text that gives `message` back through MessageOfText: its lines, cut at each CR, with
// LF between them. Text after the last CR, which a stored message never has, is a line too.
std::string TextOfMessage(std::string_view message);
