// The progress file, line by line: score, open tracks and cars, the unlock ladder's place, then
// the best time of every track entry.
#include "persist/progress_file.h"

#include "persist/safe_file.h"
#include "persist/stored_lines.h"

namespace vm {

namespace {

constexpr std::size_t kPad = 5;
constexpr std::size_t kFirstTimeLine = 6;
constexpr std::size_t kProgressLines = kFirstTimeLine - 1 + 3 * kTrackSlots;

} // namespace

bool SaveProgress(const std::string& Path, std::int32_t Score, const TCatalogues& Catalogues,
                  std::string& Error)
{
    std::string Content;
    AppendStoredLine(Content, std::to_string(Score), kPad);
    AppendStoredLine(Content, std::to_string(Catalogues.FTracksOpen), kPad);
    AppendStoredLine(Content, std::to_string(Catalogues.FCarsOpen), kPad);
    AppendStoredLine(Content, std::to_string(Catalogues.NextUnlockScore), kPad);
    AppendStoredLine(Content, std::to_string(Catalogues.FUnlockStep), kPad);
    for (const TTrackInfo& Track : Catalogues.FTracks)
    {
        AppendStoredLine(Content, std::to_string(Track.BestHundredths), kPad);
        AppendStoredLine(Content, std::to_string(Track.BestSeconds), kPad);
        AppendStoredLine(Content, std::to_string(Track.BestMinutes), kPad);
    }
    return WriteFileAtomically(Path, Content, Error);
}

void LoadProgress(const std::string& Path, std::int32_t& Score, TCatalogues& Catalogues,
                  std::vector<std::string>& Problems)
{
    TStoredLineReader Reader(Path, kProgressLines, Problems);
    if (Reader.Read())
    {
        // Out-of-range counts and steps are brought into range by SanitizeProgress below. The game
        // never writes a negative score (gains stop at the 32-bit limit): one is damage, reported.
        if (const auto Value = Reader.Number(1, "score", 0))
            Score = *Value;
        if (const auto Value = Reader.Number(2, "tracks open"))
            Catalogues.FTracksOpen = *Value;
        if (const auto Value = Reader.Number(3, "cars open"))
            Catalogues.FCarsOpen = *Value;
        if (const auto Value = Reader.Number(4, "next unlock score"))
            Catalogues.NextUnlockScore = *Value;
        if (const auto Value = Reader.Number(5, "unlock step"))
            Catalogues.FUnlockStep = *Value;
        for (std::size_t I = 0; I < Catalogues.FTracks.size(); ++I)
        {
            // A time made of one stored and two default parts would be a time nobody drove.
            const std::size_t Line = kFirstTimeLine + 3 * I;
            const std::string Which = "track " + std::to_string(I + 1) + " best ";
            const auto Hundredths = Reader.Number(Line, Which + "hundredths");
            const auto Seconds = Reader.Number(Line + 1, Which + "seconds");
            const auto Minutes = Reader.Number(Line + 2, Which + "minutes");
            if (!Hundredths || !Seconds || !Minutes)
                continue;
            TTrackInfo& Track = Catalogues.FTracks[I];
            Track.BestHundredths = *Hundredths;
            Track.BestSeconds = *Seconds;
            Track.BestMinutes = *Minutes;
        }
    }
    Catalogues.SanitizeProgress();
}

} // namespace vm
