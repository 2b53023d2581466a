// The online score table: sending a run's final score and showing the table in the browser.
#pragma once

#include <cstdint>
#include <string>

namespace vm {

class IHttpClient;
class IMessageBox;
class IShellOpener;

// The text shown when the server gives no usable version reply.
inline constexpr const char* CannotConnectText = "Can't connect to server!";

// The fifth "|"-separated field of a version reply (the first is "OK"): the server's token.
// Empty when the reply has fewer than five "|".
std::string VersionToken(const std::string& Reply);

// The score text before encoding: the fields in order, then "0"s to a multiple of 5 characters.
std::string ScoreText(const std::string& PlayerName, std::int32_t Score, const std::string& Token,
                      const std::string& OnlineName);

// Asks the endpoint for a version and a token, then submits the score with it; blocks for at most
// the client's time-outs per request. Without an "OK" version reply the player is told
// CannotConnectText and nothing is sent; the submission's own reply is not looked at.
void SendScore(IHttpClient& Http, IMessageBox& Messages, const std::string& EndpointUrl,
               const std::string& PlayerName, std::int32_t Score, const std::string& OnlineName);

// Opens the endpoint's table page in the browser.
void ViewOnlineScores(IShellOpener& Shell, const std::string& EndpointUrl);

} // namespace vm
