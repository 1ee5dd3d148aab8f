// The end of the player's ELF image, measured on the real model.ex_ of this build: it must be
// exactly the file's size (so a card's package starts right there), and headers that promise
// more than the file holds must fail rather than send the reader past the end.

#include "ElfImage.h"
#include "FileIO.h"

#include <gtest/gtest.h>

#include <cstring>
#include <elf.h>
#include <link.h>

namespace {

const std::vector<uint8_t> kModel = fileio::ReadFileBytes(VELMORA_MODEL_EXE);

TEST(ElfImage, EndsExactlyAtTheEndOfTheLinkedPlayer) {
    EXPECT_EQ(ElfImageEnd(kModel), kModel.size());
    std::vector<uint8_t> card = kModel;
    card.resize(card.size() + 4096, 'x');
    EXPECT_EQ(ElfImageEnd(card), kModel.size());
}

TEST(ElfImage, RefusesFilesShorterThanTheirHeadersOrNotElf) {
    const std::span<const uint8_t> model(kModel);
    EXPECT_THROW(ElfImageEnd(model.first(model.size() - 1)), EElfImageError);
    EXPECT_THROW(ElfImageEnd(model.first(sizeof(ElfW(Ehdr)))), EElfImageError);
    EXPECT_THROW(ElfImageEnd(model.first(10)), EElfImageError);

    std::vector<uint8_t> notElf = kModel;
    notElf[1] = 'X';
    EXPECT_THROW(ElfImageEnd(notElf), EElfImageError);

    // A section header table placed at a nonsensical offset must not wrap around.
    std::vector<uint8_t> hostile = kModel;
    const uint64_t farAway = ~uint64_t(0) - 10;
    std::memcpy(hostile.data() + offsetof(ElfW(Ehdr), e_shoff), &farAway, sizeof(ElfW(Off)));
    try {
        ElfImageEnd(hostile);
        ADD_FAILURE() << "a section table beyond the file was accepted";
    } catch (const EElfImageError& e) {
        EXPECT_STREQ(e.what(), ("The program file is " + std::to_string(hostile.size()) +
                                " bytes long but its ELF headers describe an impossible size")
                                   .c_str());
    }
}

} // namespace
