// Tune-writing helpers: turns note names, phrases and drum grids into XM pattern cells.
#include "music/tune_writing.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vm::assetgen {

namespace {

// Volume column byte for a volume 0..64, or 0 (empty) for -1.
std::uint8_t VolumeByte(int Volume) { return Volume < 0 ? 0 : static_cast<std::uint8_t>(0x10 + Volume); }

bool ParseInt(std::string_view Text, int& Value)
{
    const auto [End, Ec] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    return Ec == std::errc() && End == Text.data() + Text.size();
}

} // namespace

int NoteNumber(std::string_view Name)
{
    static const int Steps[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (Name.size() < 2 || Name[0] < 'A' || Name[0] > 'G')
        return 0;
    int Pitch = Steps[Name[0] - 'A'];
    std::size_t At = 1;
    if (Name[At] == '#')
        ++Pitch, ++At;
    else if (Name[At] == 'b')
        --Pitch, ++At;
    int Octave = 0;
    if (At >= Name.size() || !ParseInt(Name.substr(At), Octave))
        return 0;
    const int Note = Octave * 12 + Pitch + 1;
    return Note >= 1 && Note <= 96 ? Note : 0;
}

bool TPatternWriter::Check(bool Ok, const std::string& Message)
{
    if (!Ok && FError.empty())
        FError = Message;
    return Ok && FError.empty();
}

TXmCell* TPatternWriter::Cell(int Row, int Channel)
{
    if (!Check(Row >= 0 && Row < FPattern.Rows() && Channel >= 0 && Channel < FPattern.Channels(),
               "cell outside the pattern: row " + std::to_string(Row) + ", channel " +
                   std::to_string(Channel)))
        return nullptr;
    return &FPattern.At(Row, Channel);
}

void TPatternWriter::Note(int Row, int Channel, std::string_view Name, int Instrument, int Volume)
{
    const int Number = vm::assetgen::NoteNumber(Name);
    if (Check(Number > 0, "bad note name \"" + std::string(Name) + "\""))
        NoteNumber(Row, Channel, Number, Instrument, Volume);
}

void TPatternWriter::NoteNumber(int Row, int Channel, int Note, int Instrument, int Volume)
{
    if (!Check(Note >= 1 && Note <= 96 && Volume <= 64, "note or volume out of range"))
        return;
    if (TXmCell* Target = Cell(Row, Channel))
    {
        Target->Note = static_cast<std::uint8_t>(Note);
        Target->Instrument = static_cast<std::uint8_t>(Instrument);
        Target->Volume = VolumeByte(Volume);
    }
}

void TPatternWriter::Off(int Row, int Channel)
{
    if (TXmCell* Target = Cell(Row, Channel))
    {
        // A release never replaces a note already written there.
        if (Target->Note == XmNoNote)
            Target->Note = XmKeyOff;
    }
}

void TPatternWriter::Effect(int Row, int Channel, std::uint8_t Effect, std::uint8_t Param)
{
    if (TXmCell* Target = Cell(Row, Channel))
    {
        Check(Target->Effect == 0, "two effects in one cell at row " + std::to_string(Row));
        Target->Effect = Effect;
        Target->Param = Param;
    }
}

int TPatternWriter::Phrase(int Channel, int Instrument, int StartRow, std::string_view Text, int Volume,
                           int Transpose, int Length)
{
    int Row = StartRow;
    std::size_t At = 0;
    while (At < Text.size())
    {
        while (At < Text.size() && std::isspace(static_cast<unsigned char>(Text[At])))
            ++At;
        if (At >= Text.size())
            break;
        std::size_t End = At;
        while (End < Text.size() && !std::isspace(static_cast<unsigned char>(Text[End])))
            ++End;
        const std::string_view Token = Text.substr(At, End - At);
        At = End;
        const std::size_t Slash = Token.find('/');
        int Rows = 0;
        if (!Check(Slash != std::string_view::npos && ParseInt(Token.substr(Slash + 1), Rows) && Rows > 0,
                   "bad phrase token \"" + std::string(Token) + "\""))
            return Row;
        std::string_view Name = Token.substr(0, Slash);
        int NoteVolume = Volume;
        if (const std::size_t AtSign = Name.find('@'); AtSign != std::string_view::npos)
        {
            if (!Check(ParseInt(Name.substr(AtSign + 1), NoteVolume),
                       "bad volume in \"" + std::string(Token) + "\""))
                return Row;
            Name = Name.substr(0, AtSign);
        }
        if (Name == "r")
            Off(Row, Channel);
        else
        {
            const int Number = vm::assetgen::NoteNumber(Name);
            if (!Check(Number > 0, "bad note name \"" + std::string(Name) + "\""))
                return Row;
            NoteNumber(Row, Channel, Number + Transpose, Instrument, NoteVolume);
        }
        Row += Rows;
    }
    Check(Length < 0 || Row - StartRow == Length,
          "phrase lasts " + std::to_string(Row - StartRow) + " rows, not " + std::to_string(Length));
    return Row;
}

void TPatternWriter::Hits(int Channel, int Instrument, int StartRow, int Rows, std::string_view Grid,
                          int Volume)
{
    if (!Check(!Grid.empty(), "empty drum grid"))
        return;
    for (int I = 0; I < Rows; ++I)
    {
        int Level = -1;
        switch (Grid[I % Grid.size()])
        {
        case 'X': Level = Volume; break;
        case 'x': Level = Volume * 3 / 4; break;
        case 'o': Level = Volume / 2; break;
        case '-': Level = Volume / 3; break;
        case '.': break;
        default: Check(false, "bad drum grid \"" + std::string(Grid) + "\""); return;
        }
        if (Level >= 0)
            NoteNumber(StartRow + I, Channel, 49, Instrument, Level);
    }
}

void TPatternWriter::Chord(int FirstChannel, int Instrument, int Row,
                           const std::vector<std::string_view>& Names, int Rows, int Volume)
{
    for (std::size_t I = 0; I < Names.size(); ++I)
    {
        const int Channel = FirstChannel + static_cast<int>(I);
        Note(Row, Channel, Names[I], Instrument, Volume);
        if (Row + Rows < FPattern.Rows())
            Off(Row + Rows, Channel);
    }
}

void TPatternWriter::Echo(int Channel, int Target, int Delay, int Volume, int Pan)
{
    const int LastRow = FPattern.Rows() - 1;
    for (int Row = 0; Row < FPattern.Rows(); ++Row)
    {
        const TXmCell& Source = FPattern.At(Row, Channel);
        // A release that would fall past the pattern comes on its last row, so the echo does not
        // hang into whatever pattern follows.
        if (Source.Note == XmKeyOff)
            Off(std::min(Row + Delay, LastRow), Target);
        else if (Source.Note != XmNoNote && Row + Delay <= LastRow)
        {
            NoteNumber(Row + Delay, Target, Source.Note, Source.Instrument, Volume);
            Effect(Row + Delay, Target, XmEffectPanning, static_cast<std::uint8_t>(Pan));
        }
    }
}

} // namespace vm::assetgen
