#include "VySetFileReader.h"

#include "VyCompactSet.h"
#include "VySetLoader.h"
#include "vybitmap/VyPixelFormat.h"
#include "vybitmap/VyRGBFx.h"
#include "vybitmap/VyRGBIO.h"
#include "vyio/VyConfigFile.h"
#include "vyio/VyMemFile.h"
#include "vyio/VyResourceSource.h"
#include "vythread/VyException.h"
#include "vyutil/VyStringHelper.h"

namespace
{
// The greyed picture: grey at opacity 127 over every pixel.
constexpr uint32_t GREY = 0xFF808080;
constexpr int GREY_STRENGTH = 127;

// "r, g, b" -> 0xRRGGBB (each part atoi's low byte); false with fewer than three parts. Only the
// three numbers are read: a set colour names no scheme slot and no texture.
bool ParseRgb(const VyString& text, uint32_t& colour)
{
    return VyStringHelper::ParseRgb(VyStringHelper::Split(text), colour);
}

// A picture's name is relative to the set's folder and stays inside it: no root, no drive and no
// ".." part, so that a set from the player's sets folder reads no file of elsewhere.
bool StaysInSetFolder(const VyString& name)
{
    if (name.empty() || name[0] == '/' || name[0] == '\\' || name.find(':') != VyString::npos)
        return false;
    size_t start = 0;
    for (;;)
    {
        const size_t end = name.find_first_of("/\\", start);
        if (name.compare(start, end == VyString::npos ? VyString::npos : end - start, "..") == 0)
            return false;
        if (end == VyString::npos)
            return true;
        start = end + 1;
    }
}
} // namespace

VySetFileReader::VySetFileReader(const VyString& path, VySetLoadProgress* pProgress, const std::atomic<int>* pCurrent,
                                 int load)
    : m_path(path), m_pProgress(pProgress), m_pCurrent(pCurrent), m_nLoad(load)
{
    const size_t slash = path.find_last_of("\\/");
    m_directory = slash == VyString::npos ? VyString() : VyString(path.substr(0, slash));
}

VySetFileReader::~VySetFileReader() = default;

void VySetFileReader::Fail(const VyString& message)
{
    throw VyException("VyGameWnd", "InternalLoadSet", message);
}

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
    if (!StaysInSetFolder(name))
        throw VyException("VyGameWnd", "InternalLoadSet", "The picture's name leads out of the set's folder", name);
    VyString path = VyResourceSource::JoinPath(m_directory, name);
    std::unique_ptr<VyRGBFormat> picture;
    try
    {
        picture = FetchPicture(path);
    }
    catch (VyFileException&)
    {
        if (m_sharedDirectory.empty())
            throw;
        path = VyResourceSource::JoinPath(m_sharedDirectory, name);
        picture = FetchPicture(path);
    }
    if (!picture || !picture->HasPixels())
        throw VyException("VyGameWnd", "InternalLoadSet", "The picture is empty", path);
    if (picture->Width() > maxSide || picture->Height() > maxSide)
        throw VyException("VyGameWnd", "InternalLoadSet",
                          VyString::Format("The picture is too large (%d x %d)", picture->Width(), picture->Height()),
                          path);
    return picture;
}

std::unique_ptr<VyRGBFormat> VySetFileReader::FetchPicture(const VyString& path)
{
    try
    {
        return VyRGBIO::LoadResource(path);
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
}

// [General] SharedPictures: the set whose folder lends the pictures this set's folder lacks. Only a
// plain set name is taken, so the pictures still come from a folder below "sets".
void VySetFileReader::ReadSharedPictures()
{
    const VyString name = m_pConfig->GetString("General", "SharedPictures", "").Trimmed();
    if (name.empty())
        return;
    if (!VySetLoader::IsValidSetName(name))
        Fail("Failed to read [General].SharedPictures(" + name + ")");
    const VyString path = VySetLoader::PathOfSet(name);
    m_sharedDirectory = path.substr(0, path.find_last_of('\\'));
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
    ReadSharedPictures();
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
    const VyString beyondLimits = VyCompactSet::WhyBeyondLimits(m_set);
    if (!beyondLimits.empty())
        Fail(beyondLimits);
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
