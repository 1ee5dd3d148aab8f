// Writes the sample birthday card into a folder: a sky picture (BMP), a bell sound (WAV), a
// short tune (MIDI) and the card script that uses them, with the folder's absolute paths.
// Everything is drawn or synthesised here, so the sample carries no third-party media.
//
//   make-sample-card FOLDER

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool DrawSky(const fs::path& path) {
    QImage sky(320, 200, QImage::Format_RGB32);
    QPainter p(&sky);
    QLinearGradient air(0, 0, 0, 200);
    air.setColorAt(0, QColor(40, 90, 200));
    air.setColorAt(0.7, QColor(150, 200, 245));
    air.setColorAt(1, QColor(250, 230, 180));
    p.fillRect(sky.rect(), air);
    QRadialGradient sun(250, 50, 30);
    sun.setColorAt(0, QColor(255, 250, 200));
    sun.setColorAt(1, QColor(255, 200, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPoint(250, 50), 28, 28);
    p.setBrush(QColor(60, 150, 70));
    p.drawEllipse(QRect(-80, 160, 300, 120));
    p.setBrush(QColor(80, 170, 80));
    p.drawEllipse(QRect(120, 170, 320, 110));
    const QColor balloons[] = {QColor(220, 40, 60), QColor(250, 200, 40), QColor(150, 60, 200)};
    for (int i = 0; i < 3; ++i) {
        const QPoint at(40 + 36 * i, 120 - 14 * (i % 2));
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.drawLine(at + QPoint(0, 18), at + QPoint(6 - 3 * i, 60));
        p.setPen(Qt::NoPen);
        p.setBrush(balloons[i]);
        p.drawEllipse(at, 13, 17);
    }
    p.end();
    return sky.save(QString::fromStdString(path.string()), "BMP");
}

void Put16(std::string& s, uint16_t v) { s += char(v & 0xFF), s += char(v >> 8); }
void Put32(std::string& s, uint32_t v) { Put16(s, uint16_t(v)), Put16(s, uint16_t(v >> 16)); }

// Half a second of a bell: two partials that fade out, 16-bit mono at 22050 Hz.
bool WriteBell(const fs::path& path) {
    const int rate = 22050, frames = rate / 2;
    std::string pcm;
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double v = std::exp(-6 * t) * (0.6 * std::sin(2 * M_PI * 880 * t) + 0.3 * std::sin(2 * M_PI * 2217 * t));
        Put16(pcm, uint16_t(int16_t(v * 30000)));
    }
    std::string wav = "RIFF";
    Put32(wav, uint32_t(36 + pcm.size()));
    wav += "WAVEfmt ";
    Put32(wav, 16);
    Put16(wav, 1); // PCM
    Put16(wav, 1); // mono
    Put32(wav, rate);
    Put32(wav, rate * 2);
    Put16(wav, 2);
    Put16(wav, 16);
    wav += "data";
    Put32(wav, uint32_t(pcm.size()));
    wav += pcm;
    return bool(std::ofstream(path, std::ios::binary) << wav);
}

// A little rising tune on a celesta: a format 0 MIDI file, 480 ticks a quarter note.
bool WriteTune(const fs::path& path) {
    auto varLen = [](std::string& s, uint32_t v) {
        std::string bytes(1, char(v & 0x7F));
        while (v >>= 7) bytes.insert(bytes.begin(), char((v & 0x7F) | 0x80));
        s += bytes;
    };
    std::string track;
    varLen(track, 0);
    track += "\xC0\x08"; // celesta
    const int notes[] = {60, 64, 67, 72, 71, 67, 69, 72};
    for (int note : notes) {
        varLen(track, 0);
        track += char(0x90), track += char(note), track += char(90);
        varLen(track, 240);
        track += char(0x80), track += char(note), track += char(0);
    }
    varLen(track, 0);
    track += "\xFF\x2F";
    track += char(0);
    std::string midi = "MThd";
    midi += std::string("\0\0\0\x06\0\0\0\x01\x01\xE0", 10);
    midi += "MTrk";
    midi += char(track.size() >> 24), midi += char(track.size() >> 16), midi += char(track.size() >> 8),
        midi += char(track.size());
    midi += track;
    return bool(std::ofstream(path, std::ios::binary) << midi);
}

// The card: it opens, shows the sky, writes "Happy Birthday" with a shadow, rings the bell,
// waits, plays the tune and clears the text.
bool WriteScript(const fs::path& dir) {
    const std::string crlf = "\r\n";
    std::string s;
    for (const std::string& line : {std::string("Open window"), std::string("Zoom"), std::string("1"),
                                    std::string("Background"), (dir / "sky.bmp").string(), std::string("Blinds"),
                                    std::string("3"), std::string("Text")})
        s += line + crlf;
    s += "Happy|Birthday\r" + crlf; // the message's last CR, then the line end
    for (const std::string& line :
         {std::string("Slide Left "), std::string("2"), std::string("40"), std::string("25"), std::string("255"),
          std::string("20"), std::string("DejaVu Sans"), std::string("1"), std::string("0"), std::string("0"),
          std::string("0"), std::string("Center"), std::string("1"), std::string("Sound effect"),
          (dir / "bell.wav").string(), std::string("Pause"), std::string("2"), std::string("Music"),
          (dir / "tune.mid").string(), std::string("Clear Text"), std::string("Zoom"), std::string("1")})
        s += line + crlf;
    return bool(std::ofstream(dir / "birthday.vlm", std::ios::binary) << s);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample-card FOLDER\n");
        return 2;
    }
    const fs::path dir = fs::absolute(argv[1]);
    fs::create_directories(dir);
    if (!DrawSky(dir / "sky.bmp") || !WriteBell(dir / "bell.wav") || !WriteTune(dir / "tune.mid") ||
        !WriteScript(dir)) {
        std::fprintf(stderr, "make-sample-card: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
