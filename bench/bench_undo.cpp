// What the edit history costs: the heap that 100 steps over a list of 50 text events with
// their images add, against the list itself, and the time of an undo and a redo.
//
//   bench_undo [RUNS]

#include "BenchTiming.h"
#include "ScriptHistory.h"

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kEvents = 50;
constexpr int kSteps = 100;
constexpr int kImageWidth = 320, kImageHeight = 80; // a line or two of text on a card

size_t HeapBytes() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// A background, then texts, each with its attributes and a text image of its own.
CardScript TextList() {
    CardScript script;
    script.WriteEventRow(2, false, {"Background", "/cards/sky.bmp", "Blinds", "2"});
    TColorTable colors;
    InitColorTable(colors, 256);
    for (int r = 3; r < kEvents + 2; ++r) {
        script.WriteEventRow(r, false, {"Text", "Happy birthday, dear friend\r", "Mosaic", "2"});
        TByteArray2D pixels(kImageWidth, kImageHeight);
        for (int y = 1; y <= kImageHeight; ++y)
            for (int x = 1; x <= kImageWidth; ++x)
                pixels.Set(x, y, uint8_t(x * y + r));
        auto image = std::make_shared<TGifFile>();
        image->AddImage(colors, pixels);
        script.Row(r).TextImage = image;
        script.Row(r).DataTexte = std::make_shared<TDataTexte>(TDataTexte{{}, 2, true, r, r});
    }
    return script;
}

// 98 deletes, inserts and edits, a Clear All and an Open of another list of the same size.
void HundredSteps(ScriptHistory& history, CardScript& opened) {
    for (int i = 0; i < kSteps - 2; ++i) {
        const int row = 3 + (i / 3) % (kEvents - 1);
        switch (i % 3) {
        case 0:
            history.Change("Delete", [row](CardScript& s) { s.DeleteEvent(row); });
            break;
        case 1:
            history.Change("Insert Pause", [row](CardScript& s) {
                s.WriteEventRow(row, false, {"Pause", "None", "None", "3"});
            });
            break;
        default:
            history.Change("Edit Pause", [row](CardScript& s) {
                s.WriteEventRow(row, true, {"Pause", "None", "None", "4"});
            });
        }
    }
    history.Change("Clear All", [](CardScript& s) { s.ClearEvents(); });
    history.Change("Open", [&](CardScript& s) { s = std::move(opened); });
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> added, kept, stepUs, undoUs, redoUs;
    size_t listBytes = 0;
    for (int run = 0; run < runs; ++run) {
        const size_t empty = HeapBytes();
        CardScript script = TextList();
        listBytes = HeapBytes() - empty;
        CardScript opened = TextList();
        ScriptFile file;
        auto history = std::make_unique<ScriptHistory>(script, file);

        // The opened list moves into the script: it is counted before, as the list it
        // replaces, then held by the history, is counted after.
        const size_t before = HeapBytes();
        stepUs.push_back(bench::Seconds([&] { HundredSteps(*history, opened); }) * 1e6 / kSteps);
        const size_t after = HeapBytes();
        added.push_back(double(after) - double(before));

        undoUs.push_back(bench::Seconds([&] {
                             while (history->CanUndo())
                                 history->Undo();
                         }) *
                         1e6 / kSteps);
        redoUs.push_back(bench::Seconds([&] {
                             while (history->CanRedo())
                                 history->Redo();
                         }) *
                         1e6 / kSteps);
        // Besides what it adds, the history keeps alive the rows that the steps took out of
        // the list (the deleted texts' images, the list that the Open replaced).
        history.reset();
        kept.push_back(double(after) - double(HeapBytes()));
    }
    std::printf("list of %d events with %dx%d text images: %.2f MB on the heap\n", kEvents,
                kImageWidth, kImageHeight, double(listBytes) / 1e6);
    std::printf("%d steps (deletes, inserts, edits, Clear All, Open), medians of %d runs:\n",
                kSteps, runs);
    std::printf("  heap added by the steps:             %.3f MB\n", bench::Median(added) / 1e6);
    std::printf("  heap freed when the history goes:    %.3f MB (the rows it alone keeps)\n",
                bench::Median(kept) / 1e6);
    std::printf("  a copy of the list per step would be: %.2f MB\n",
                double(listBytes) * kSteps / 1e6);
    std::printf("  a step %.1f us, an undo %.1f us, a redo %.1f us\n", bench::Median(stepUs),
                bench::Median(undoUs), bench::Median(redoUs));
}
