// Card packages written by hand for tests, independently of the builder and of the package
// reader, so that the marker texts are checked rather than borrowed.
#pragma once

#include <string>
#include <vector>

// Each line followed by CR LF.
inline std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

struct PackedText {
    std::string Name;
    std::string Contents;
};

// A well-formed package: the manifest of these files, then their contents.
inline std::string PackageOf(const std::vector<PackedText>& files) {
    std::vector<std::string> lines{"Fin du fichier executable"};
    std::string data;
    for (const PackedText& file : files) {
        lines.push_back(file.Name);
        lines.push_back(std::to_string(file.Contents.size()));
        data += file.Contents;
    }
    lines.push_back("Fin textes");
    return CrLfLines(lines) + data;
}
