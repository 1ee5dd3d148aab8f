// Where the program finds the files it ships with, and where a build makes its working files.
//
// Run from its build folder, the program has the player stub and the help file beside it and
// its builds work there: that folder is the program directory. Installed, the stub and the
// help file lie in the private and data folders of its prefix, found from the program's own
// place so that a prefix moved elsewhere still works; the program's folder is then not the
// user's to write, so builds work in a folder of the user's cache.
#pragma once

#include "CardPackageFormat.h"
#include "WorkDirLock.h"

#include <string>

struct ProgramFiles {
    std::string Stub;    // the player stub model.ex_
    std::string DataDir; // the folder of the help file, ending with "/"
    std::string WorkDir; // the program directory of a build's working files, ending with "/"
    TWorkDirLock::Folder WorkFolder = TWorkDirLock::BesideProgram; // how builds treat it

    // Everything in the one folder `dir` (ending with "/"), as in the build folder.
    static ProgramFiles AllIn(const std::string& dir) {
        return {dir + cardpackage::kStubName, dir, dir, TWorkDirLock::BesideProgram};
    }
};

// The files of the program whose file lies in `programDir` (ending with "/"). The per-user
// working folder is only named here: the build that takes its lock makes it.
ProgramFiles LocateProgramFiles(const std::string& programDir);
