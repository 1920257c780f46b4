#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "VyPieceSet.h"
#include "VySetLoadProgress.h"

class VyConfigFile;
class VyRGBFormat;

// Reads one set file into a fresh set for VySetLoader, on whichever thread calls Read. Each step runs
// only while no earlier step failed; a failure is thrown as the VyException VySetLoader lists
// ("*VyGameWnd::InternalLoadSet : Failed to read [General].Board", "*VyPiece::Load : ...",
// "*VyGameWnd::Load : ..."; counts beyond VY_MAX_SET_ITEMS and pictures beyond the size limits are
// refused the same way; resource and picture errors pass through). `pCurrent`, when given, is the
// loader's wanted load: once it differs from `load` the work is given up by throwing "the load was
// given up", which the worker drops.
//
// Pictures are found beside the set file; a set file whose [General] SharedPictures names another
// set (a plain set name, VySetLoader::IsValidSetName) takes the pictures its own folder does not
// hold from that set's folder "sets\<name>". A name that is not plain fails the load with
// "Failed to read [General].SharedPictures(<name>)"; a picture found in neither folder fails with the
// look-up's "Could not locate resource file" naming the shared folder's path.
class VySetFileReader
{
public:
    // Reads the set file at path (a resource path; pictures are found beside it). pProgress may be
    // null; pCurrent may be null for a load that cannot be given up.
    VySetFileReader(const VyString& path, VySetLoadProgress* pProgress, const std::atomic<int>* pCurrent, int load);
    ~VySetFileReader();
    VySetFileReader(const VySetFileReader&) = delete;
    VySetFileReader& operator=(const VySetFileReader&) = delete;

    // The whole set, pictures included. Throws the first failure's VyException; reads once.
    VyPieceSet Read();

private:
    [[noreturn]] static void Fail(const VyString& message);
    void CheckCancelled() const;
    void SetRange(int low, int high);
    void SetLabel(const char* label);
    void SetPos(int pos);
    std::unique_ptr<VyRGBFormat> LoadPicture(const VyString& name, int maxSide) const;
    static std::unique_ptr<VyRGBFormat> FetchPicture(const VyString& path);
    void ReadSharedPictures();
    void ReadProperties();
    int ReadCount(const char* key) const;
    void ReadPieces();
    void ReadPiece(const VyString& section, VyPieceInfo& piece, VyPieceImages& images) const;
    static rgb MakeGreyed(const VyRGBFormat& picture, uint32_t mask);
    void ReadSquares();
    void ReadSquare(const VyString& section, VySquare& square) const;
    void ReadCombinations();

    VyString m_path;
    VyString m_directory;
    VyString m_sharedDirectory; // "sets\<name>" of [General] SharedPictures; empty for none
    VySetLoadProgress* m_pProgress;
    const std::atomic<int>* m_pCurrent;
    int m_nLoad;
    std::unique_ptr<VyConfigFile> m_pConfig;
    VyPieceSet m_set;
    std::shared_ptr<VySetImages> m_pImages = std::make_shared<VySetImages>();
};
