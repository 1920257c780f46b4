#pragma once

#include <vector>

#include "vyio/VyIO.h"

// Whether SetInt writes the file at once.
enum VyConfigSave
{
    VY_CONFIG_SAVE_LATER,
    VY_CONFIG_SAVE_NOW
};

// A sectioned key=value text file with typed getters that add a missing key with its default.
//
// Every object of the process shares one parsed copy of each file name (a process-wide cache under one
// re-entrant lock), so a value set through one object is seen at once through every other. A file is
// parsed once and never re-read. "vyw.cfg" is read from the working directory (created empty when
// missing); every other name comes through the resource look-up (VyResourceSource::Fetch), whose
// VyFileException passes out of the constructor or accessor and leaves nothing cached.
//
// Syntax, line by line, after trimming blanks (bytes that are <= 32 as signed chars) at both ends:
//     "*..." or "\..."   comment
//     "[name]"           section (an empty name is ignored; a repeated section is merged)
//     "key=value"        split at the first '='; both sides trimmed; no '=' means an empty value;
//                        an empty key or a key before any section is ignored; a later key wins.
// Saving writes sections and keys in byte order, "[section]" then "key=value" lines and one empty line
// after each section, LF line ends, through VyFile::WriteReplacing (a temporary file synchronised to the
// device, renamed over <name>, the folder synchronised). A save that cannot write the whole file leaves
// <name> byte for byte as it was and is reported to the trace, never thrown: "*VyConfigFile::Save : not
// saved -> File: <name>", the lines of the failure below it, and, when a system call failed, a last line
// "Reason: <the system's text>" (e.g. "Reason: No space left on device").
class VyConfigFile
{
public:
    // Binds to name and loads it.
    explicit VyConfigFile(const VyString& name);
    // Binds read-only to name, parsing the stream's lines when the name is not cached yet.
    VyConfigFile(const VyString& name, VyIO& stream);
    ~VyConfigFile(); // saves when modified; failures are reported, never thrown
    VyConfigFile(const VyConfigFile&) = delete;
    VyConfigFile& operator=(const VyConfigFile&) = delete;

    // Re-targets (saving first under the old name when modified); writable again.
    void SetFile(const VyString& name);
    // Re-targets read-only, parsing the stream when the name is not cached yet.
    void SetFile(const VyString& name, VyIO& stream);

    // The value, or the default; a writable object adds a missing key with the default and saves.
    VyString GetString(const VyString& section, const VyString& key, const VyString& defaultValue);
    // The value read as atoi reads it; the default is stored as "%d".
    int GetInt(const VyString& section, const VyString& key, int defaultValue);
    // True for "true"/"t" in any case or exactly "1"; the default is stored as "TRUE"/"FALSE".
    bool GetBool(const VyString& section, const VyString& key, bool defaultValue);

    // Stores the value and marks the object modified; written at the next save. A read-only object
    // reports the assertion "!m_bReadOnly" and changes nothing.
    void SetString(const VyString& section, const VyString& key, const VyString& value);
    // Stores "%d" of value without marking the object modified (and even through a read-only object);
    // written at once only with VY_CONFIG_SAVE_NOW, otherwise with the next save of this file by any object.
    void SetInt(const VyString& section, const VyString& key, int value, VyConfigSave save = VY_CONFIG_SAVE_LATER);

    // Keys and values of the section in key order; both cleared first; a missing section adds nothing.
    void GetSection(const VyString& section, std::vector<VyString>& keys, std::vector<VyString>& values);

    // Writes the cached file to its name (see above). Does nothing when the name is not cached.
    void Save();

    // Drops the cached copy of name, unsaved changes included, so that the next object bound to it
    // parses afresh. No object may be using the name then (its next access would load it again).
    static void Forget(const VyString& name);

    const VyString& GetName() const { return m_name; }
    bool IsReadOnly() const { return m_bReadOnly; }
    bool IsModified() const { return m_bModified; }

private:
    void Load();
    void SaveIfModified();

    VyString m_name;
    bool m_bModified = false;
    bool m_bReadOnly = false;
};
