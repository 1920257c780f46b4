#pragma once

#include <map>
#include <mutex>

#include "VyPieceSet.h"
#include "VySetLoadProgress.h"
#include "vyio/VyArchiveSource.h"

// The resource look-up of the game tests: files a test adds, then the archive linked into the test
// program. A bitmap asked for below another set's folder that nobody added comes from the classic
// set's folder, so that a test set file can name the classic pictures. Installed once for the whole
// program (Get); safe to use from the loader's thread.
class TestResources : public VyArchiveSource
{
public:
    static TestResources& Get();

    // Serves text as the resource at path (exactly as the loader asks for it) from now on.
    void Add(const VyString& path, const VyString& text);
    void GetResourceFile(const VyString& path, VyIO& out) override;

    // The text of a resource in the linked archive.
    VyString ArchiveText(const VyString& path);

private:
    std::mutex m_lock;
    std::map<VyString, VyString> m_files;
};

// The classic set, loaded once from the linked archive.
const VyPieceSet& ClassicSet();
// The text of the classic set file in the linked archive.
VyString ClassicText();
// The squares set, loaded once from the linked archive alone (no test file and no borrowed classic
// picture stands in for what the archive lacks).
const VyPieceSet& SquaresSet();

// The classic set file's text with one key of one section set to value (added when missing), or
// removed when value is null.
VyString EditSetText(const VyString& text, const VyString& section, const VyString& key, const char* value);

// Records what a set load reports ("open <caption> <w>x<h> <label>", "range 0 100", "label ...",
// "pos 15", "close"), from whichever thread it comes.
class RecordingProgress : public VySetLoadProgress
{
public:
    void Open(const VyString& caption, VySize size, const VyString& label) override
    {
        Add(VyString::Format("open %s %dx%d %s", caption.c(), size.cx, size.cy, label.c()));
    }
    void SetRange(int low, int high) override { Add(VyString::Format("range %d %d", low, high)); }
    void SetLabel(const VyString& label) override { Add("label " + label); }
    void SetPos(int pos) override { Add(VyString::Format("pos %d", pos)); }
    void Close() override { Add("close"); }

    std::vector<VyString> Calls();
    // The calls that start with prefix.
    int Count(const char* prefix);

private:
    void Add(const VyString& call);
    std::mutex m_lock;
    std::vector<VyString> m_calls;
};
