// Blocking HTTP GET: how the game reaches its online score table.
#pragma once

#include <string>

namespace vm {

class IHttpClient
{
public:
    virtual ~IHttpClient() = default;
    // GETs Url and blocks until the reply or a time-out. True, with the reply's body, only for a
    // reply with status 200; any failure (no connection, a time-out, another status, an
    // oversized body) gives false and an empty Body. Nothing is reported to the player.
    virtual bool Get(const std::string& Url, std::string& Body) = 0;
};

} // namespace vm
