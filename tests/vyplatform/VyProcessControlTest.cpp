#include <gtest/gtest.h>

#include "vyio/VyTestDir.h"
#include "vyplatform/VyProcessControl.h"

// Whether the program is installed is told by the folders around it, nothing else.
TEST(VyProcessControl, TheLayoutAroundTheProgramTellsWhetherItIsInstalled)
{
    VyTestDir dir;
    const std::string root = dir.Path().string();
    dir.Put("prefix/bin/tolmar", "");
    dir.Put("prefix/share/tolmar/layout.txt", "");
    EXPECT_EQ(VyProcessControl::LayoutOf(root + "/prefix/bin/tolmar"), VyProgramLayout::INSTALLED);

    // The build tree, an unpacked folder, a copy beside an unrelated share folder.
    dir.Put("build/apps/tolmar/tolmar", "");
    dir.Put("unpacked/tolmar", "");
    dir.Put("other/bin/tolmar", "");
    dir.Put("other/share/vyw/x", "");
    dir.Put("file/bin/tolmar", "");
    dir.Put("file/share/tolmar", "a file, not a folder");
    for (const char* portable : {"/build/apps/tolmar/tolmar", "/unpacked/tolmar", "/other/bin/tolmar", "/file/bin/tolmar"})
        EXPECT_EQ(VyProcessControl::LayoutOf(root + portable), VyProgramLayout::PORTABLE) << portable;
    EXPECT_EQ(VyProcessControl::LayoutOf(""), VyProgramLayout::PORTABLE) << "an unknown program path";

    // Another program name looks for its own folder.
    dir.Put("prefix/bin/tolmar-selfplay", "");
    EXPECT_EQ(VyProcessControl::LayoutOf(root + "/prefix/bin/tolmar-selfplay"), VyProgramLayout::PORTABLE);
}
