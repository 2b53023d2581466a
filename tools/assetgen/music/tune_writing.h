// Helpers for writing tunes into XM patterns: note names, phrases, drum grids, chords and echoes.
#pragma once

#include "music/xm_writer.h"

#include <string>
#include <string_view>
#include <vector>

namespace vm::assetgen {

// XM note number of a name such as "C4", "F#3" or "Bb2" (C4 = 49); 0 for a bad name.
int NoteNumber(std::string_view Name);

// Writes notes into one pattern; the first mistake (a bad name, a row outside the pattern) is kept
// in Error and later calls do nothing.
class TPatternWriter
{
public:
    TPatternWriter(TXmPattern& Pattern, std::string& Error) : FPattern(Pattern), FError(Error) {}

    // A note (name or number) with its instrument; Volume 0..64 or -1 for the sample's own.
    void Note(int Row, int Channel, std::string_view Name, int Instrument, int Volume = -1);
    void NoteNumber(int Row, int Channel, int Note, int Instrument, int Volume = -1);
    void Off(int Row, int Channel);
    void Effect(int Row, int Channel, std::uint8_t Effect, std::uint8_t Param);

    // Whitespace-separated "Name/Rows" tokens from StartRow; "r/Rows" is a rest that releases the
    // note before it. A name may carry a volume as "Name@Volume". Notes move by Transpose semitones.
    // A phrase that does not last Length rows (when given) is a mistake. Returns the row after it.
    int Phrase(int Channel, int Instrument, int StartRow, std::string_view Text, int Volume = -1,
               int Transpose = 0, int Length = -1);

    // One character per row from StartRow for Rows rows, the grid repeating: 'X' loud, 'x' medium,
    // 'o' soft, '-' ghost, '.' nothing. Loud is Volume; the others are fractions of it.
    void Hits(int Channel, int Instrument, int StartRow, int Rows, std::string_view Grid, int Volume = 64);

    // Notes on consecutive channels from FirstChannel, released after Rows (when inside the pattern).
    void Chord(int FirstChannel, int Instrument, int Row, const std::vector<std::string_view>& Names,
               int Rows, int Volume = -1);

    // Copies Channel's notes and releases Delay rows later onto Target at Volume, panned to Pan
    // (0 left .. 255 right): a tracker echo. Notes that would fall past the pattern are dropped.
    void Echo(int Channel, int Target, int Delay, int Volume, int Pan);

private:
    bool Check(bool Ok, const std::string& Message);
    TXmCell* Cell(int Row, int Channel);

    TXmPattern& FPattern;
    std::string& FError;
};

} // namespace vm::assetgen
