#pragma once

#include "vyio/VyArchive.h"
#include "vyio/VyResourceSource.h"

// A resource look-up that answers from one archive and nothing else (the disk is not searched: that
// look-up reads and may write vyw.cfg). For programs that make no platform object: the self-play tool,
// the benchmarks and the tests. Installs itself as the current resource source for its lifetime and
// puts the previous one back at its end. A damaged archive is reported to the trace; the source then
// holds nothing, as it does when there is no archive.
class VyArchiveSource : public VyResourceSource
{
public:
    // The archive linked into the executable (vyw_embed_resources); none when it carries no archive.
    VyArchiveSource();
    // The archive file at path (none when it cannot be opened).
    explicit VyArchiveSource(const VyString& path);
    ~VyArchiveSource() override;
    VyArchiveSource(const VyArchiveSource&) = delete;
    VyArchiveSource& operator=(const VyArchiveSource&) = delete;

    // Whether an archive with entries was found.
    bool HasArchive() const { return m_archive.HasEntries(); }
    VyArchive& GetArchive() { return m_archive; }

    // The archive's entry; ThrowNotFound for a path the archive does not hold.
    void GetResourceFile(const VyString& path, VyIO& out) override;

private:
    VyArchive m_archive;
    VyResourceSource* m_pPrevious;
};
