// The HTTP side of the score service: the front's requests handed to the service.
#include "score_server.h"

#include "common/score_protocol.h"

namespace vm::scored {

namespace {

// Recordings come as request bodies larger than any other request's.
TFrontOptions WithUploads(TFrontOptions Front)
{
    Front.FLargeBodyPaths.emplace_back(ReplayUploadPath);
    return Front;
}

} // namespace

TScoreServer::TScoreServer(TScoreStore& Store, TScoreServerOptions Options, TFrontOptions Front)
    : FService(Store, std::move(Options)),
      FFront([this](const THttpRequest& Request) { return FService.Handle(Request); },
             WithUploads(std::move(Front)))
{}

// Answers still with the verifier go to the front before it goes.
TScoreServer::~TScoreServer() { FService.StopVerifying(); }

int TScoreServer::Bind(const std::string& Host, int Port) { return FFront.Bind(Host, Port); }

bool TScoreServer::Run() { return FFront.Run(); }

void TScoreServer::Stop() { FFront.Stop(); }

bool TScoreServer::IsRunning() const { return FFront.IsRunning(); }

int TScoreServer::MaxConnections() const { return FFront.MaxConnections(); }

} // namespace vm::scored
