// The HTTP side of the score service: the front's requests handed to the service.
#include "score_server.h"

namespace vm::scored {

TScoreServer::TScoreServer(TScoreStore& Store, TScoreServerOptions Options, TFrontOptions Front)
    : FService(Store, std::move(Options)),
      FFront([this](const THttpRequest& Request) { return FService.Handle(Request); }, std::move(Front))
{}

int TScoreServer::Bind(const std::string& Host, int Port) { return FFront.Bind(Host, Port); }

bool TScoreServer::Run() { return FFront.Run(); }

void TScoreServer::Stop() { FFront.Stop(); }

bool TScoreServer::IsRunning() const { return FFront.IsRunning(); }

int TScoreServer::MaxConnections() const { return FFront.MaxConnections(); }

} // namespace vm::scored
