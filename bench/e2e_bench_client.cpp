// The client children of e2e_bench, a program of their own so that the
// benchmark library is not loaded into the clients it measures. Each mode
// prints its results on stdout (e2e_bench_child.h); the parent's private
// home comes with the environment.
#include "client/heappolicy.h"
#include "e2e_bench_child.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace e2ebench;

int main(int argc, char **argv) {
    // The window children start as the program does.
    if (argc >= 3 && (std::strcmp(argv[1], "--client") == 0 ||
                      std::strcmp(argv[1], "--soak") == 0 || std::strcmp(argv[1], "--idle") == 0))
        useMappedLargeBlocks();
    if (argc >= 3 && std::strcmp(argv[1], "--client") == 0) {
        const auto flag = [&](const char *name) {
            return std::any_of(argv + 3, argv + argc,
                               [name](const char *a) { return std::strcmp(a, name) == 0; });
        };
        WindowFlood flood;
        flood.openFirst = flag("--open-first");
        flood.openAfter = flag("--open-after");
        flood.keepHistory = !flag("--no-history");
        return runWindowClient(argc, argv, std::atoi(argv[2]), flood);
    }
    if (argc >= 3 && std::strcmp(argv[1], "--protocol-client") == 0)
        return runProtocolClient(argc, argv, std::atoi(argv[2]));
    if (argc >= 4 && std::strcmp(argv[1], "--soak") == 0)
        return runSoakClient(argc, argv, std::atoi(argv[2]), std::atoi(argv[3]));
    if (argc >= 3 && std::strcmp(argv[1], "--idle") == 0)
        return runIdleWindow(argc, argv, std::atoi(argv[2]));

    return 2;
}
