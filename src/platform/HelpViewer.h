// Shows the program's help file.
#pragma once

#include <string>

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // The contents of `helpFile`; a bare file name is looked for beside the program.
    // A missing file is reported by the viewer itself.
    virtual void ShowContents(const std::string& helpFile) = 0;
};
