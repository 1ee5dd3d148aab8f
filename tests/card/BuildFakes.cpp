#include "BuildFakes.h"

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

BuildBench::BuildBench() {
    static int counter = 0;
    Root = fs::temp_directory_path() / ("velmora-build-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    fs::create_directories(Root / "program");
    fs::create_directories(Root / "out");
    ProgramDir = (Root / "program").string() + "/";
    WriteFile("program/model.ex_", "STUB\x7f" "ELF-ish player bytes");
    WorkDir.emplace(ProgramDir, TWorkDirLock::BesideProgram, [] {});
}

BuildBench::~BuildBench() { fs::remove_all(Root); }

std::string BuildBench::WriteFile(const std::string& name, const std::string& bytes) const {
    const fs::path path = Root / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

std::string BuildBench::AddPicture(const std::string& name, int width, int height) {
    const std::string path = WriteFile(name, "picture");
    TPicture p{width, height, {}};
    for (int i = 0; i < width * height; ++i) p.Pixels.push_back((i / 7) % 2 ? 0x00FF8000 : 0x00102030);
    Pictures.ByPath[path] = p;
    return path;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
