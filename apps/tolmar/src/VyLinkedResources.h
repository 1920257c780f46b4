#pragma once

#include "vyio/VyArchive.h"
#include "vyio/VyResourceSource.h"

// The resource look-up of programs that carry the resource archive (vyw_embed_resources) but make no
// platform object: the self-play tool, the benchmarks and the tests. Answers from the archive linked
// into the executable only; the disk is not searched (that look-up reads and may write vyw.cfg).
// Installs itself as the current resource source for its lifetime and restores the previous one.
class VyLinkedResources : public VyResourceSource
{
public:
    VyLinkedResources();
    ~VyLinkedResources() override;
    VyLinkedResources(const VyLinkedResources&) = delete;
    VyLinkedResources& operator=(const VyLinkedResources&) = delete;

    // Whether the executable carries an archive with entries.
    bool HasArchive() const { return m_archive.HasEntries(); }
    VyArchive& GetArchive() { return m_archive; }

    // Throws "*VyPlatform::GetResourceFile : Could not locate resource file -> File: <path>" for a
    // path the archive does not hold.
    void GetResourceFile(const VyString& path, VyIO& out) override;

private:
    VyArchive m_archive;
    VyResourceSource* m_pPrevious;
};
