#include "VyPieceSet.h"

#include <sstream>


VyString VyProperty::ValueName(int index) const
{
    for (const auto& [valueName, valueIndex] : values)
        if (valueIndex == index)
            return valueName;
    return {};
}

namespace
{
std::vector<VyString> SplitList(const VyString& list)
{
    std::vector<VyString> parts;
    std::stringstream stream(list);
    std::string part;
    while (std::getline(stream, part, ','))
        parts.push_back(VyString(part).Trimmed());
    return parts;
}

// The classic set as its set file states it; sections with free key names are keyed maps, so they
// come out in key order exactly as the loader will read them.
const std::map<VyString, VyString> CLASSIC_PROPERTIES = {
    {"Color", "Dark, White"}, {"Height", "Tall,Short"}, {"Shape", "Round, Square"}, {"Top", "Dimpled, Flat"}};

struct ClassicPiece
{
    const char* bitmap;
    VyPoint start;
    const char* color;
    const char* height;
    const char* shape;
    const char* top;
};

const ClassicPiece CLASSIC_PIECES[] = {
    {"piece3.bmp", {582, 10}, "Dark", "Tall", "Round", "Dimpled"},
    {"piece11.bmp", {552, 10}, "White", "Tall", "Round", "Dimpled"},
    {"piece1.bmp", {522, 10}, "Dark", "Tall", "Round", "Flat"},
    {"piece9.bmp", {492, 10}, "White", "Tall", "Round", "Flat"},
    {"piece12.bmp", {582, 130}, "White", "Short", "Round", "Dimpled"},
    {"piece4.bmp", {552, 130}, "Dark", "Short", "Round", "Dimpled"},
    {"piece10.bmp", {522, 130}, "White", "Short", "Round", "Flat"},
    {"piece2.bmp", {492, 130}, "Dark", "Short", "Round", "Flat"},
    {"piece7.bmp", {582, 210}, "Dark", "Tall", "Square", "Dimpled"},
    {"piece15.bmp", {552, 210}, "White", "Tall", "Square", "Dimpled"},
    {"piece5.bmp", {522, 210}, "Dark", "Tall", "Square", "Flat"},
    {"piece13.bmp", {492, 210}, "White", "Tall", "Square", "Flat"},
    {"piece16.bmp", {582, 330}, "White", "Short", "Square", "Dimpled"},
    {"piece8.bmp", {552, 330}, "Dark", "Short", "Square", "Dimpled"},
    {"piece14.bmp", {522, 330}, "White", "Short", "Square", "Flat"},
    {"piece6.bmp", {492, 330}, "Dark", "Short", "Square", "Flat"},
};

// Center, Left, Top, Right, Bottom of each square.
const VyPoint CLASSIC_SQUARES[][5] = {
    {{57, 244}, {8, 260}, {80, 290}, {117, 237}, {45, 206}},
    {{130, 275}, {80, 290}, {150, 320}, {188, 268}, {117, 237}},
    {{198, 305}, {150, 319}, {217, 348}, {256, 298}, {188, 268}},
    {{265, 333}, {217, 348}, {283, 376}, {324, 327}, {256, 298}},
    {{94, 190}, {45, 206}, {118, 238}, {157, 182}, {82, 149}},
    {{169, 222}, {117, 237}, {188, 268}, {228, 215}, {157, 182}},
    {{238, 252}, {188, 268}, {257, 299}, {298, 246}, {228, 214}},
    {{307, 284}, {256, 298}, {324, 327}, {366, 277}, {298, 246}},
    {{134, 135}, {82, 149}, {157, 182}, {197, 125}, {122, 90}},
    {{211, 169}, {156, 183}, {228, 215}, {271, 158}, {197, 125}},
    {{281, 201}, {228, 215}, {299, 247}, {341, 192}, {271, 158}},
    {{352, 233}, {297, 246}, {366, 277}, {410, 224}, {341, 192}},
    {{179, 75}, {122, 90}, {198, 125}, {241, 65}, {164, 27}},
    {{254, 108}, {197, 125}, {271, 158}, {314, 100}, {242, 65}},
    {{326, 143}, {271, 159}, {341, 192}, {386, 135}, {314, 100}},
    {{398, 179}, {341, 192}, {410, 223}, {457, 168}, {386, 135}},
};

const std::map<VyString, VyString> CLASSIC_COMBINATIONS = {
    {"Combination1", "1,2,3,4"},   {"Combination2", "5,6,7,8"},    {"Combination3", "9,10,11,12"},
    {"Combination4", "13,14,15,16"}, {"Combination5", "1,5,9,13"},  {"Combination6", "2,6,10,14"},
    {"Combination7", "3,7,11,15"}, {"Combination8", "4,8,12,16"}, {"Combination9", "1,6,11,16"},
    {"Combination10", "4,7,10,13"}};

int ValueIndex(const VyPieceSet& set, const char* property, const char* value)
{
    for (const VyProperty& entry : set.properties)
        if (entry.name == property)
            return entry.values.at(value);
    return -1;
}
} // namespace

VyPieceSet VyPieceSet::Classic()
{
    VyPieceSet set;
    set.name = "classic";
    set.board = "board.bmp";
    set.boardSize = {490, 400};
    set.chosenPos = {35, 40};
    set.colorMask = 0x0000FF;

    for (const auto& [key, list] : CLASSIC_PROPERTIES)
    {
        VyProperty property;
        property.name = key;
        std::vector<VyString> names = SplitList(list);
        for (size_t i = 0; i < names.size(); ++i)
            property.values[names[i]] = static_cast<int>(i);
        set.properties.push_back(property);
    }

    for (const ClassicPiece& source : CLASSIC_PIECES)
    {
        VyPieceInfo piece;
        piece.bitmap = source.bitmap;
        piece.start = source.start;
        const bool round = VyString(source.shape) == "Round";
        piece.center = round ? VyPoint{25, 15} : VyPoint{30, 24};
        const std::pair<const char*, const char*> values[] = {
            {"Color", source.color}, {"Height", source.height}, {"Shape", source.shape}, {"Top", source.top}};
        piece.values.resize(set.properties.size(), -1);
        for (const auto& [property, value] : values)
            for (size_t p = 0; p < set.properties.size(); ++p)
                if (set.properties[p].name == property)
                    piece.values[p] = ValueIndex(set, property, value);
        set.pieces.push_back(piece);
    }

    for (const auto& points : CLASSIC_SQUARES)
    {
        VySquare square;
        square.center = points[0];
        square.left = points[1];
        square.top = points[2];
        square.right = points[3];
        square.bottom = points[4];
        square.selectColor = 0xFFFF00;
        set.squares.push_back(square);
    }

    for (const auto& [key, list] : CLASSIC_COMBINATIONS)
    {
        std::vector<int> combination;
        for (const VyString& number : SplitList(list))
            combination.push_back(number.ToInt() - 1);
        set.combinations.push_back(combination);
    }
    return set;
}
