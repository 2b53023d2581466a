// The online score table: sending a run's final score and showing the table in the browser.
#pragma once

#include <cstdint>
#include <string>

namespace vm {

class IHttpClient;
class IShellOpener;
class THttpCancel;

// The text shown when the server gives no usable version reply or the connection is lost.
inline constexpr const char* CannotConnectText = "Can't connect to server!";

// The fifth "|"-separated field of a version reply (the first is "OK"): the server's token.
// Empty when the reply has fewer than five "|".
std::string VersionToken(const std::string& Reply);

// The score text before encoding: the fields in order, then "0"s to a multiple of 5 characters.
std::string ScoreText(const std::string& PlayerName, std::int32_t Score, const std::string& Token,
                      const std::string& OnlineName);

// How sending a score ended.
enum class TSendOutcome
{
    Stored,       // the server answered the submission "OK"
    NoConnection, // no connection, no "OK" version reply, or the connection lost on the way
    Refused,      // the server answered the submission with anything but "OK"
    Cancelled,    // the cancel flag was raised
};

struct TSendResult
{
    TSendOutcome Outcome = TSendOutcome::NoConnection;
    // A refusal's reason: the server's "ERR" text, or what the reply was; printable ASCII only
    // and short, as it comes from the network and is shown to the player.
    std::string Reason;
    // Stored: the token the score went with, which its run's recording follows.
    std::string Token = {};
};

// Asks the endpoint for a version and a token, then submits the score with it; blocks for at most
// the client's time-outs per request, or until Cancel (may be null) is raised. Without an "OK"
// version reply nothing is submitted. Safe on any thread: it touches only its arguments.
TSendResult SubmitScore(IHttpClient& Http, THttpCancel* Cancel, const std::string& EndpointUrl,
                        const std::string& PlayerName, std::int32_t Score, const std::string& OnlineName);

// What the player is told about Result: empty for a stored or cancelled score.
std::string SendResultText(const TSendResult& Result);

// Where a stored score's run recording goes: the endpoint's server at ReplayUploadPath.
std::string ReplayUploadUrl(const std::string& EndpointUrl);

// How uploading a run's recording ended.
enum class TUploadOutcome
{
    Verified,     // the server played it to the stored score: the score counts as verified
    Unverified,   // the server kept it without verifying the score (Reason says why)
    Refused,      // the server refused it (Reason says why); the score stays unverified
    NoConnection, // no reply, or the file could not be read
    Cancelled,
};

struct TUploadResult
{
    TUploadOutcome Outcome = TUploadOutcome::NoConnection;
    std::string Reason; // printable ASCII, short, as SendResult's
};

// Reads the recording at Path and POSTs it with Token; blocks like SubmitScore (a server may take
// a while to play it). Safe on any thread: it touches only its arguments.
TUploadResult UploadRun(IHttpClient& Http, THttpCancel* Cancel, const std::string& EndpointUrl,
                        const std::string& Token, const std::string& Path);

// What the player is told about an upload; empty when cancelled.
std::string UploadResultText(const TUploadResult& Result);

// Opens the endpoint's table page in the browser.
void ViewOnlineScores(IShellOpener& Shell, const std::string& EndpointUrl);

} // namespace vm
