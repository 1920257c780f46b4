#pragma once

#include "vyio/VyArchive.h"
#include "vyio/VyResourceSource.h"

// The platform object: exactly one exists, created first and destroyed last. This base part holds the
// resource archive and answers resource look-ups; the window, input and display part derives from it.
class VyPlatform : public VyResourceSource
{
public:
    // Installs the object as the platform and as the current resource source, then opens the archive.
    VyPlatform();
    ~VyPlatform() override; // uninstalls

    // The platform, or null before it is made.
    static VyPlatform* Get();

    // Opens the resource archive: the bytes linked into the executable, else the file resource.vya in
    // the working directory. A damaged archive is reported to the trace and treated as absent.
    virtual void OpenArchive();

    // The archive's entry, else the file below the working directory, else the file below
    // [Directories] Resource of vyw.cfg; throws "*VyPlatform::GetResourceFile : Could not locate
    // resource file -> File: <path>" when none exists.
    void GetResourceFile(const VyString& path, VyIO& out) override;

    VyArchive& GetArchive() { return m_archive; }

protected:
    // The archive linked into the executable (see vyw_embed_resources); false when there is none.
    virtual bool GetEmbeddedArchive(const unsigned char*& data, int& length) const;

    VyArchive m_archive;
};
