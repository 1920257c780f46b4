#include "VySetLoader.h"

#include "VyGameTypes.h"
#include "vybitmap/VyPixelFormat.h"
#include "vybitmap/VyRGBFx.h"
#include "vybitmap/VyRGBIO.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyResourceSource.h"
#include "vythread/VyException.h"
#include "vythread/VyTrace.h"
#include "vyutil/VyStringHelper.h"

namespace
{
const char* const PROGRESS_CAPTION = "Loading ...";
const VySize PROGRESS_SIZE{275, 100};
const char* const PROGRESS_FIRST_LABEL = "Loading Tolmar";

// The greyed picture: grey at opacity 127 over every pixel.
constexpr uint32_t GREY = 0xFF808080;
constexpr int GREY_STRENGTH = 127;

// "r, g, b" -> 0xRRGGBB (each part atoi's low byte); false with fewer than three parts. Only the
// three numbers are read: a set colour names no scheme slot and no texture.
bool ParseRgb(const VyString& text, uint32_t& colour)
{
    return VyStringHelper::ParseRgb(VyStringHelper::Split(text), colour);
}

// Reads one set file into a fresh set. Each step runs only while no earlier step failed; a failure
// is thrown. `pCurrent`, when given, is the loader's wanted load: once it differs from `load`
// the work is given up (the thrown exception is then dropped by the worker).
class VySetFileReader
{
public:
    VySetFileReader(const VyString& path, VySetLoadProgress* pProgress, const std::atomic<int>* pCurrent, int load)
        : m_path(path), m_pProgress(pProgress), m_pCurrent(pCurrent), m_nLoad(load)
    {
        const size_t slash = path.find_last_of("\\/");
        m_directory = slash == VyString::npos ? VyString() : VyString(path.substr(0, slash));
    }

    VyPieceSet Read();

private:
    static void Fail(const VyString& message) { throw VyException("VyGameWnd", "InternalLoadSet", message); }
    void CheckCancelled() const;
    void SetRange(int low, int high);
    void SetLabel(const char* label);
    void SetPos(int pos);
    std::unique_ptr<VyRGBFormat> LoadPicture(const VyString& name, int maxSide) const;
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
    VySetLoadProgress* m_pProgress;
    const std::atomic<int>* m_pCurrent;
    int m_nLoad;
    std::unique_ptr<VyConfigFile> m_pConfig;
    VyPieceSet m_set;
    std::shared_ptr<VySetImages> m_pImages = std::make_shared<VySetImages>();
};

void VySetFileReader::CheckCancelled() const
{
    if (m_pCurrent != nullptr && m_pCurrent->load() != m_nLoad)
        throw VyException("VyGameWnd", "InternalLoadSet", "the load was given up");
}

void VySetFileReader::SetRange(int low, int high)
{
    CheckCancelled();
    if (m_pProgress)
        m_pProgress->SetRange(low, high);
}

void VySetFileReader::SetLabel(const char* label)
{
    CheckCancelled();
    if (m_pProgress)
        m_pProgress->SetLabel(label);
}

void VySetFileReader::SetPos(int pos)
{
    CheckCancelled();
    if (m_pProgress)
        m_pProgress->SetPos(pos);
}

std::unique_ptr<VyRGBFormat> VySetFileReader::LoadPicture(const VyString& name, int maxSide) const
{
    const VyString path = VyResourceSource::JoinPath(m_directory, name);
    std::unique_ptr<VyRGBFormat> picture;
    try
    {
        picture = VyRGBIO::LoadResource(path);
    }
    catch (VyFileException&)
    {
        throw; // the resource look-up names the file itself
    }
    catch (VyException& error)
    {
        error.AppendFile(path);
        throw;
    }
    if (!picture || !picture->HasPixels())
        throw VyException("VyGameWnd", "InternalLoadSet", "The picture is empty", path);
    if (picture->Width() > maxSide || picture->Height() > maxSide)
        throw VyException("VyGameWnd", "InternalLoadSet",
                          VyString::Format("The picture is too large (%d x %d)", picture->Width(), picture->Height()),
                          path);
    return picture;
}

VyPieceSet VySetFileReader::Read()
{
    m_set.name = VySetLoader::NameOfSet(m_path);
    {
        VyMemFile contents(VY_IO_READ);
        VyResourceSource::Fetch(m_path, contents);
        m_pConfig = std::make_unique<VyConfigFile>(m_path, contents);
    }
    VyConfigFile& config = *m_pConfig;
    m_set.board = config.GetString("General", "Board", "");
    if (m_set.board.empty())
        Fail("Failed to read [General].Board");
    SetRange(0, 100);
    m_set.pieces.clear();
    m_set.squares.clear();

    SetLabel("Loading board ... ");
    m_pImages->board = rgb(LoadPicture(m_set.board, VySetLoader::VY_MAX_BOARD_SIDE), m_set.board);
    SetPos(15);
    m_pImages->background = m_pImages->board.Image()->GetPixel(0, 0) | 0xFF000000u;
    SetPos(20);

    const VyString boardSize = config.GetString("General", "BoardSize", "");
    if (boardSize.empty())
        Fail("Failed to read [General].BoardSize");
    ReadProperties();
    SetPos(25);
    SetLabel("Loading pieces ... ");
    m_set.boardSize = VyStringHelper::ParseSize(boardSize);
    ParseRgb(config.GetString("General", "ColorMask", ""), m_set.colorMask);
    ReadPieces();

    SetLabel("Loading data ... ");
    ReadSquares();
    const VyString chosenPos = config.GetString("General", "ChosenPos", "");
    if (chosenPos.empty())
        Fail("Failed to read [General].ChosenPos");
    m_set.chosenPos = VyStringHelper::ParsePoint(chosenPos);
    ReadCombinations();
    SetPos(100);
    m_set.images = m_pImages;
    return std::move(m_set);
}

void VySetFileReader::ReadProperties()
{
    std::vector<VyString> keys;
    std::vector<VyString> values;
    m_pConfig->GetSection("Properties", keys, values);
    if (keys.empty())
        Fail("Failed to read properties");
    for (size_t i = 0; i < keys.size(); ++i)
    {
        VyProperty property;
        property.name = keys[i];
        const std::vector<VyString> names = VyStringHelper::Split(values[i]);
        for (size_t index = 0; index < names.size(); ++index)
            property.values[names[index].Trimmed()] = static_cast<int>(index);
        m_set.properties.push_back(std::move(property));
    }
}

// A count of [General]: 0 (or missing) is "Failed to read"; beyond the bound is refused too.
int VySetFileReader::ReadCount(const char* key) const
{
    const int count = m_pConfig->GetString("General", key, "0").ToInt();
    if (count == 0)
        Fail(VyString("Failed to read [General].") + key);
    if (count < 0 || count > VySetLoader::VY_MAX_SET_ITEMS)
        Fail(VyString::Format("[General].%s is %d; a set has 1 to %d", key, count, VySetLoader::VY_MAX_SET_ITEMS));
    return count;
}

void VySetFileReader::ReadPieces()
{
    const int count = ReadCount("NumberOfPieces");
    const int step = 75 / count;
    int pos = 25;
    m_set.pieces.resize(static_cast<size_t>(count));
    m_pImages->pieces.resize(static_cast<size_t>(count));
    for (int n = 1; n <= count; ++n)
    {
        CheckCancelled();
        const size_t index = static_cast<size_t>(n - 1);
        ReadPiece(VyString::Format("Piece%d", n), m_set.pieces[index], m_pImages->pieces[index]);
        pos += step;
        SetPos(pos);
    }
}

void VySetFileReader::ReadPiece(const VyString& section, VyPieceInfo& piece, VyPieceImages& images) const
{
    VyConfigFile& config = *m_pConfig;
    VyString missing;
    piece.bitmap = config.GetString(section, "Bitmap", "");
    const VyString start = config.GetString(section, "Start", "");
    const VyString center = config.GetString(section, "Center", "");
    if (piece.bitmap.empty())
        missing = "Bitmap";
    if (start.empty())
        missing = "Start";
    else
        piece.start = VyStringHelper::ParsePoint(start);
    if (center.empty())
        missing = "Center";
    else
        piece.center = VyStringHelper::ParsePoint(center);
    piece.location = -1;

    if (!piece.bitmap.empty())
    {
        images.normal = rgb(LoadPicture(piece.bitmap, VySetLoader::VY_MAX_PIECE_SIDE), piece.bitmap);
        images.greyed = MakeGreyed(*images.normal.Image(), m_set.colorMask);
    }

    piece.values.assign(m_set.properties.size(), -1);
    for (size_t p = 0; p < m_set.properties.size(); ++p)
    {
        const VyProperty& property = m_set.properties[p];
        const VyString value = config.GetString(section, property.name, "");
        const auto found = property.values.find(value);
        if (value.empty())
            missing = property.name;
        else if (found == property.values.end())
            missing = property.name + "(" + value + ")";
        else
            piece.values[p] = found->second;
    }
    if (!missing.empty())
        throw VyException("VyPiece", "Load", "Failed to read [" + section + "]." + missing);
}

// The RGBA copy greyed at opacity 127, with the mask pixels made fully transparent. The mask pixels
// are found in the picture as loaded and cleared after the fill: a fill over them would raise their
// alpha and frame the greyed piece in a half-transparent grey box.
rgb VySetFileReader::MakeGreyed(const VyRGBFormat& picture, uint32_t mask)
{
    const int width = picture.Width();
    const int height = picture.Height();
    std::unique_ptr<VyRGBFormat> rgba = VyRGBFormat::Create(width, height, VY_FORMAT_RGBA32);
    *rgba = picture;
    VyRGBFx fx;
    fx.m_strength = GREY_STRENGTH;
    rgba->Fill(VyRect{0, height, width, 0}, GREY, fx);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((picture.GetPixel(x, y) & 0xFFFFFFu) == mask)
                rgba->SetPixel(x, y, mask);
    return rgb(std::move(rgba));
}

void VySetFileReader::ReadSquares()
{
    const int count = ReadCount("NumberOfSquares");
    m_set.squares.resize(static_cast<size_t>(count));
    for (int n = 1; n <= count; ++n)
    {
        CheckCancelled();
        ReadSquare(VyString::Format("Square%d", n), m_set.squares[static_cast<size_t>(n - 1)]);
    }
}

void VySetFileReader::ReadSquare(const VyString& section, VySquare& square) const
{
    VyString missing;
    const std::pair<const char*, VyPoint*> points[] = {{"Center", &square.center}, {"Left", &square.left},
                                                       {"Top", &square.top},       {"Right", &square.right},
                                                       {"Bottom", &square.bottom}};
    for (const auto& [key, point] : points)
    {
        const VyString text = m_pConfig->GetString(section, key, "");
        if (text.empty())
            missing = key;
        else
            *point = VyStringHelper::ParsePoint(text);
    }
    const VyString colour = m_pConfig->GetString(section, "SelectColor", "");
    if (colour.empty())
        missing = "SelectColor";
    else
        ParseRgb(colour, square.selectColor);
    square.piece = -1;
    if (!missing.empty())
        throw VyException("VyGameWnd", "Load", "Failed to read [" + section + "]." + missing);
}

void VySetFileReader::ReadCombinations()
{
    std::vector<VyString> keys;
    std::vector<VyString> values;
    m_pConfig->GetSection("WinningCombinations", keys, values);
    if (keys.empty())
        Fail("[General].WinningCombinations");
    for (const VyString& list : values)
    {
        std::vector<int> combination;
        for (const VyString& number : VyStringHelper::Split(list))
            combination.push_back(number.ToInt() - 1);
        m_set.combinations.push_back(std::move(combination));
    }
}
} // namespace

VySetLoader::VySetLoader(VyMessageTarget* pTarget, VySetLoadProgress* pProgress)
    : m_pTarget(pTarget), m_pProgress(pProgress)
{
}

VySetLoader::~VySetLoader()
{
    StopWorker();
}

VyString VySetLoader::PathOfSet(const VyString& name)
{
    return "sets\\" + name + "\\" + name + ".cfg";
}

VyString VySetLoader::NameOfSet(const VyString& path)
{
    const size_t slash = path.find_last_of("\\/");
    VyString name = slash == VyString::npos ? path : VyString(path.substr(slash + 1));
    const size_t dot = name.find_last_of('.');
    if (dot != VyString::npos)
        name.erase(dot);
    return name;
}

bool VySetLoader::IsValidSetName(const VyString& name)
{
    return !name.empty() && name.find_first_of("\\/:") == VyString::npos && name.find("..") == VyString::npos;
}

void VySetLoader::StopWorker()
{
    m_nCurrent.store(0);
    m_thread.Wait(VY_INFINITE);
}

int VySetLoader::Start(const VyString& path)
{
    Cancel();
    m_nRunning = ++m_nLastLoad;
    m_path = path;
    m_nCurrent.store(m_nRunning);
    if (m_pProgress)
        m_pProgress->Open(PROGRESS_CAPTION, PROGRESS_SIZE, PROGRESS_FIRST_LABEL);
    if (!m_thread.Start(LoaderThread, this))
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_nFinished = m_nRunning;
        m_bFailed = true;
        m_failure = VyException("VyGameWnd", "LoadSet", "Could not start the set loader's thread").GetMessage();
        VyMessageTarget::Post({m_pTarget, MSG_SET_LOAD_FAILED, m_nRunning, 0});
    }
    return m_nRunning;
}

void VySetLoader::Cancel()
{
    const bool wasLoading = IsLoading();
    StopWorker();
    if (wasLoading && m_pProgress)
        m_pProgress->Close();
}

VyString VySetLoader::GetLoadingName() const
{
    return IsLoading() ? NameOfSet(m_path) : VyString();
}

VySetLoader::Outcome VySetLoader::Take(int load, VyPieceSet& set, VyString& failure)
{
    if (load == 0 || load != m_nCurrent.load())
        return VY_LOAD_STALE;
    std::unique_ptr<VyPieceSet> result;
    bool failed = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_nFinished != load)
            return VY_LOAD_STALE;
        failed = m_bFailed;
        failure = m_failure;
        result = std::move(m_pResult);
        m_nFinished = 0;
    }
    // The worker posted as its last act: let its thread end before the next load may start one.
    m_thread.Wait(VY_INFINITE);
    m_nCurrent.store(0);
    if (m_pProgress)
        m_pProgress->Close();
    if (failed || !result)
        return VY_LOAD_FAILED;
    set = std::move(*result);
    return VY_LOAD_DONE;
}

VyPieceSet VySetLoader::Load(const VyString& path, VySetLoadProgress* pProgress)
{
    return VySetFileReader(path, pProgress, nullptr, 0).Read();
}

unsigned int VySetLoader::LoaderThread(void* argument)
{
    VySetLoader* loader = static_cast<VySetLoader*>(argument);
    loader->Run(loader->m_nRunning, loader->m_path);
    return 0;
}

// InternalLoadSet: the worker's whole life.
void VySetLoader::Run(int load, VyString path)
{
    std::unique_ptr<VyPieceSet> result;
    VyString failure;
    try
    {
        result = std::make_unique<VyPieceSet>(VySetFileReader(path, m_pProgress, &m_nCurrent, load).Read());
    }
    catch (const VyException& error)
    {
        failure = error.GetMessage();
    }
    catch (const std::exception& error)
    {
        // Out of memory and the like: the reason is reported to the trace, the user hears of an
        // unknown reason.
        VyTrace::Write(VyString("VySetLoader : ") + error.what() + "\n");
    }
    if (m_nCurrent.load() != load)
        return; // given up: nobody waits for this answer
    const bool failed = !result;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_nFinished = load;
        m_bFailed = failed;
        m_failure = failure;
        m_pResult = std::move(result);
    }
    VyMessageTarget::Post({m_pTarget, failed ? MSG_SET_LOAD_FAILED : MSG_SET_LOADED, load, 0});
}
