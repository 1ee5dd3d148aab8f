#include "TextMessage.h"

std::string MessageOfText(std::string_view text) {
    std::string message;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        message += line + '\r';
        line.clear();
    }
    if (!line.empty()) message += line + '\r';
    return message;
}

std::string TextOfMessage(std::string_view message) {
    std::string text;
    bool lastEmpty = false;
    for (size_t start = 0; start < message.size();) {
        size_t end = message.find('\r', start);
        if (end == std::string_view::npos) end = message.size();
        if (start > 0) text += '\n';
        text += message.substr(start, end - start);
        lastEmpty = end == start;
        start = end + 1;
    }
    // A last line that is empty needs its own line break, or the box would not count it.
    if (lastEmpty) text += '\n';
    return text;
}
