// Loopback ports for tests of sending scores: one that listens and never answers, one that
// refuses every connection.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace vm::test {

// The endpoint's URL on a loopback port.
inline std::string LoopbackUrl(int Port)
{
    return "http://127.0.0.1:" + std::to_string(Port) + "/cgi/version.pl";
}

// A loopback port that listens and never answers: the kernel completes the handshake on the
// listening socket, nobody reads. A request to it waits for its time-out.
class TSilentServer
{
public:
    TSilentServer()
    {
        FSocket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in Address{};
        Address.sin_family = AF_INET;
        Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t Length = sizeof Address;
        if (FSocket < 0 || bind(FSocket, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0 ||
            listen(FSocket, 8) != 0 ||
            getsockname(FSocket, reinterpret_cast<sockaddr*>(&Address), &Length) != 0)
            return;
        FPort = ntohs(Address.sin_port);
    }
    ~TSilentServer()
    {
        if (FSocket >= 0)
            close(FSocket);
    }
    TSilentServer(const TSilentServer&) = delete;
    TSilentServer& operator=(const TSilentServer&) = delete;
    int Port() const { return FPort; }
    std::string Url() const { return LoopbackUrl(FPort); }

private:
    int FSocket = -1;
    int FPort = 0;
};

// A loopback port nothing listens on: a connection is refused at once.
inline int ClosedPort()
{
    const int Closed = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in Address{};
    Address.sin_family = AF_INET;
    Address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t Length = sizeof Address;
    int Port = 0;
    if (bind(Closed, reinterpret_cast<sockaddr*>(&Address), sizeof Address) == 0 &&
        getsockname(Closed, reinterpret_cast<sockaddr*>(&Address), &Length) == 0)
        Port = ntohs(Address.sin_port);
    close(Closed);
    return Port;
}

} // namespace vm::test
