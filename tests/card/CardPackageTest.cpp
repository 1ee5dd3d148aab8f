// The package reader: where packed files lie in a card, and every way a package can break the
// layout, each reported by an exception that says what is wrong.

#include "AtomicFile.h"
#include "CardPackage.h"
#include "CardPackageText.h"
#include "FileIO.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A stand-in stub whose code mentions the start marker, as the real player's does: the package
// must be found at the given offset, never by searching for the marker.
const std::string kStub = "\x7f"
                          "ELF...Fin du fichier executable\r\n...Fin textes\r\n...";
const std::string kScript = "0\r\n0\r\ns1: :1000,0,0\r\n";

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}
std::string Text(std::span<const uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

TCardPackage Read(const std::string& package) {
    return TCardPackage(Bytes(kStub + package), kStub.size());
}

// The message of the ECardPackageError that reading this package raises.
std::string ErrorOf(const std::string& package, size_t offset = kStub.size()) {
    try {
        TCardPackage(Bytes(kStub + package), offset);
    } catch (const ECardPackageError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(CardPackage, ListsThePackedFilesWhereTheyLieAndGivesTheirBytes) {
    const std::vector<PackedText> files = {{"fond2.gif", "GIF89a picture"},
                                           {"Wave3.wav", ""}, // zero length: no bytes
                                           {"Midi4.mid", "MThd"},
                                           {"script.txt", kScript}};
    const std::string package = PackageOf(files);
    const TCardPackage card = Read(package);

    const uint64_t data =
        kStub.size() + CrLfLines({"Fin du fichier executable", "fond2.gif", "14", "Wave3.wav", "0",
                                  "Midi4.mid", "4", "script.txt", "21", "Fin textes"})
                           .size();
    EXPECT_EQ(card.Files(), (std::vector<TPackedFile>{{"fond2.gif", data, 14},
                                                      {"Wave3.wav", data + 14, 0},
                                                      {"Midi4.mid", data + 14, 4},
                                                      {"script.txt", data + 18, 21}}));
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(Text(card.Contents(card.Files()[i])), files[i].Contents) << files[i].Name;
    EXPECT_EQ(card.PlayerScript(), kScript);
}

TEST(CardPackage, SmallestCardsHoldOnlyThePlayerScript) {
    EXPECT_EQ(Read(PackageOf({{"script.txt", kScript}})).PlayerScript(), kScript);
    // An empty script: the file ends right after the four lines' 54 bytes.
    const TCardPackage empty =
        Read(CrLfLines({"Fin du fichier executable", "script.txt", "0", "Fin textes"}));
    ASSERT_EQ(empty.Files().size(), 1u);
    EXPECT_EQ(empty.Files()[0].Offset, kStub.size() + 54);
    EXPECT_EQ(empty.PlayerScript(), "");
}

TEST(CardPackage, LoadsACardFileFromDiskReadingEachFileWhereItLies) {
    const std::string path = testing::TempDir() + "card_package_test.card";
    // A manifest longer than one block of reading.
    std::vector<PackedText> files;
    for (int i = 0; i < 400; ++i) files.push_back({"Wave" + std::to_string(i) + ".wav", "RIFF"});
    files.push_back({"script.txt", kScript});
    const std::string package = PackageOf(files);
    WriteFileAtomically(path, Bytes(kStub + package));
    const TCardPackage card = TCardPackage::Load(path, kStub.size());
    EXPECT_EQ(card.Files(), Read(package).Files());
    for (const TPackedFile& file : card.Files()) {
        const std::string expected = file.Name == "script.txt" ? kScript : "RIFF";
        EXPECT_EQ(Text(card.Contents(file)), expected);
        EXPECT_EQ(Text(card.Read(file)), expected);
        EXPECT_EQ(card.Find(file.Name), &file);
    }
    EXPECT_EQ(card.Find("Wave400.wav"), nullptr);
    EXPECT_EQ(card.PlayerScript(), kScript);
    std::filesystem::remove(path);
    EXPECT_THROW(TCardPackage::Load(path, kStub.size()), EInOutError);
}

TEST(CardPackage, IsFoundOnlyAtTheStubsEnd) {
    const std::string package = PackageOf({{"script.txt", kScript}});
    EXPECT_EQ(ErrorOf(package, kStub.size() - 1),
              "Card package: no start marker \"Fin du fichier executable\" at offset " +
                  std::to_string(kStub.size() - 1));
    EXPECT_NE(ErrorOf(package, kStub.size() + 1).find("no start marker"), std::string::npos);
    // The stub alone, or an offset past the file's end: nothing to read.
    const size_t end = kStub.size() + package.size();
    EXPECT_EQ(ErrorOf(package, end),
              "Card package: no package: the card file is " + std::to_string(end) +
                  " bytes long and the package should start at offset " + std::to_string(end));
    EXPECT_NE(ErrorOf(package, end + 100).find("no package"), std::string::npos);
    EXPECT_NE(ErrorOf("").find("no package"), std::string::npos);
}

struct Broken {
    const char* what;
    std::string package;
    std::string message; // a part of the error's text
};

void ExpectErrors(const std::vector<Broken>& cases) {
    for (const Broken& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string message = ErrorOf(c.package);
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_LT(message.size(), 200u) << "a message a person can read";
    }
}

const std::string kMarker = "Fin du fichier executable";

TEST(CardPackage, RejectsWrongMarkersAndLineEnds) {
    ExpectErrors({
        {"marker cut short", CrLfLines({"Fin du fichier", "script.txt", "0", "Fin textes"}),
         "no start marker"},
        {"marker in other case",
         CrLfLines({"fin du fichier executable", "script.txt", "0", "Fin textes"}),
         "no start marker"},
        {"marker with more text", CrLfLines({kMarker + " ", "script.txt", "0", "Fin textes"}),
         "manifest line 1: the start marker is followed by more text"},
        {"LF only", kMarker + "\nscript.txt\n0\nFin textes\n", "manifest line 1: an LF not"},
        {"CR only", kMarker + "\rscript.txt\r0\rFin textes\r", "manifest line 1: a CR not"},
        {"one line with LF only", kMarker + "\r\nscript.txt\r\n0\nFin textes\r\n",
         "manifest line 3: an LF not preceded by CR"},
        {"last line without its LF", kMarker + "\r\nscript.txt\r\n0\r\nFin textes\r",
         "manifest line 4: a CR not followed by LF"},
        {"no end marker", CrLfLines({kMarker, "script.txt", "0"}), "without its end marker"},
        {"end marker in other case", CrLfLines({kMarker, "script.txt", "0", "FIN TEXTES"}),
         "without its end marker"},
        {"binary junk in a name", CrLfLines({kMarker, "fond\x01.gif", "0", "Fin textes"}),
         "manifest line 2: byte 0x01, which is not printable text"},
        {"a name of megabytes, cut short",
         CrLfLines({kMarker, std::string(3'000'000, 'n'), "0", "script.txt", "0", "Fin textes"}),
         "Card package: manifest line 2: a line longer than 255 bytes, \"" + std::string(40, 'n') +
             "...\""},
    });
}

TEST(CardPackage, RejectsManifestsWithoutThePlayerScriptLast) {
    ExpectErrors({
        {"no file at all", CrLfLines({kMarker, "Fin textes"}),
         "the manifest lists no file; \"script.txt\" must be the last"},
        {"no player script", CrLfLines({kMarker, "fond2.gif", "0", "Fin textes"}),
         "the last packed file is \"fond2.gif\"; it must be \"script.txt\""},
        {"player script first",
         CrLfLines({kMarker, "script.txt", "0", "fond2.gif", "0", "Fin textes"}),
         "the last packed file is \"fond2.gif\""},
        {"a name twice",
         CrLfLines({kMarker, "Wave2.wav", "0", "Wave2.wav", "0", "script.txt", "0", "Fin textes"}),
         "manifest line 4: \"Wave2.wav\" is listed twice"},
        {"an empty name", CrLfLines({kMarker, "", "0", "script.txt", "0", "Fin textes"}),
         "manifest line 2: an empty file name"},
        {"a path for a name",
         CrLfLines({kMarker, "../fond2.gif", "0", "script.txt", "0", "Fin textes"}),
         "\"../fond2.gif\" is not a plain file name"},
    });
}

TEST(CardPackage, RejectsSizesThatAreNotShortestDecimalCounts) {
    for (const char* size : {"", "012", "00", "-5", "+5", " 5", "5 ", "0x5", "5.0", "1e3"}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(ErrorOf(CrLfLines({kMarker, "script.txt", size, "Fin textes"})),
                  std::string("Card package: manifest line 3: size \"") + size +
                      "\" of \"script.txt\" is not a byte count in shortest decimal form");
    }
    for (const char* size : {"2147483648", "99999999999", "18446744073709551617"}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(ErrorOf(CrLfLines({kMarker, "script.txt", size, "Fin textes"})),
                  std::string("Card package: manifest line 3: size \"") + size +
                      "\" of \"script.txt\" exceeds the limit of 2147483647 bytes");
    }
}

TEST(CardPackage, RejectsSizesThatDoNotAddUpToTheFilesEnd) {
    const std::string manifest =
        CrLfLines({kMarker, "Wave2.wav", "3", "script.txt", "4", "Fin textes"});
    EXPECT_NO_THROW(Read(manifest + "abc" + "0\r\n0"));
    EXPECT_EQ(ErrorOf(manifest + "abc" + "0\r\n"),
              "Card package: the packed files need 7 bytes after the manifest but the card "
              "file holds only 6");
    EXPECT_EQ(ErrorOf(manifest + "abc" + "0\r\n0" + "!"),
              "Card package: 8 bytes follow the manifest but the packed files account for only 7");
    // The largest size allowed is still checked against the file, not trusted.
    EXPECT_NE(ErrorOf(CrLfLines({kMarker, "script.txt", "2147483647", "Fin textes"}) + "x")
                  .find("need 2147483647 bytes"),
              std::string::npos);
}

} // namespace
