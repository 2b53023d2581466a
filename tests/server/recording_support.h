// Real run recordings for the server tests: made by velomarch-headless on the build's game data,
// and the same recordings written again with a change.
#pragma once

#include "persist/replay.h"
#include "persist/replay_reader.h"
#include "persist/replay_writer.h"
#include "support/test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace vm::scored::test {

inline std::string ReadBytes(const std::string& Path)
{
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream Bytes;
    Bytes << In.rdbuf();
    return Bytes.str();
}

// A whole run of car 0 driven by the autopilot with Seed, recorded by the real headless game; ""
// when the program failed or the run did not end within its frames.
inline std::string RecordAutopilotRun(int Seed)
{
    const vm::test::TTempDir Folder;
    const std::string File = Folder.File("run.vmreplay");
    const std::string Command = std::string(VM_HEADLESS_BIN) +
                                " --race 0 --autopilot --null-renderer --seed " + std::to_string(Seed) +
                                " --frames 60000 --data " + VM_ASSET_DIR + " --workdir " +
                                Folder.Path().string() + " --record " + File + " > /dev/null";
    if (std::system(Command.c_str()) != 0)
        return {};
    TReplay Replay;
    std::string Error;
    const std::string Bytes = ReadBytes(File);
    return ReadReplay(Bytes, Replay, Error) && Replay.Finished ? Bytes : std::string();
}

// Replay written out again as the game writes a recording; "" when writing failed.
inline std::string WriteRecording(const TReplay& Replay)
{
    const vm::test::TTempDir Folder;
    const std::string File = Folder.File("run.vmreplay");
    TReplayWriter Writer;
    std::string Error;
    if (!Writer.Open(File, Replay.Header, Error))
        return {};
    for (const TReplayEvent& Event : Replay.Events)
        Writer.Add(Event, Event.Kind == TReplayEventKind::Text && Event.A >= 0 &&
                                  static_cast<std::size_t>(Event.A) < Replay.Texts.size()
                              ? Replay.Texts[static_cast<std::size_t>(Event.A)]
                              : std::string());
    if (!Writer.Finish(Replay.Finished ? &Replay.End : nullptr, Error))
        return {};
    return ReadBytes(File);
}

// The recording read back; a default one when Bytes are not a recording.
inline TReplay ReadRecording(const std::string& Bytes)
{
    TReplay Replay;
    std::string Error;
    ReadReplay(Bytes, Replay, Error);
    return Replay;
}

} // namespace vm::scored::test
