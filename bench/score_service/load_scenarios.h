// The score server's load and abuse scenarios, each a bounded run over loopback that prints one
// result line per measurement: a sentence, then "RESULT key=value ..." for scripts.
#pragma once

#include "raw_http.h"

#include <ostream>
#include <string>
#include <vector>

namespace vm::bench {

struct TLoadOptions
{
    std::vector<TTarget> FTargets; // round-robin for load; the first one for the other scenarios
    double FSeconds = 20;          // the bound of a run
    int FClients = 8;              // header-flood clients, load threads, token-flood flooders
    double FHeaderMegabytes = 4;   // header-flood: header bytes each client sends at most
    long FLimitBytes = 4096;       // header-flood: cut-off times are counted from this many header bytes
    int FPid = 0;                  // header-flood: the server whose memory is sampled; 0: none
    int FSlow = 500;               // slow: connections sending a byte every interval
    int FIdle = 1500;              // slow: connections that send nothing
    int FValid = 4;                // slow: threads making valid version requests meanwhile
    double FIntervalSeconds = 2;   // slow: between two bytes of a slow connection
    int FSources = 0;              // abusers (and load threads) spread over this many 127.0.0.x; 0: none
    long FTokens = 120000;         // token-flood: version requests the flooder makes at most
    long FPairs = 4000;            // load and keepalive: version + submission pairs at most
    bool FKeepAlive = false;       // load, token-flood: keep connections alive between requests
    bool FCross = false;           // load: submit to the target after the one that gave the token
    bool FCheck = false;           // load: compare the JSON table with the stored submissions
    double FTimeoutSeconds = 5;    // a valid request's reply must come within this
};

// Each returns the process exit status: 0 when the run was measured (whatever the server did),
// 1 when it could not run at all (no server, no sockets).
int RunHeaderFlood(const TLoadOptions& Options, std::ostream& Out);
int RunSlow(const TLoadOptions& Options, std::ostream& Out);
int RunTokenFlood(const TLoadOptions& Options, std::ostream& Out);
int RunLoad(const TLoadOptions& Options, std::ostream& Out);
int RunKeepAlive(const TLoadOptions& Options, std::ostream& Out);

} // namespace vm::bench
