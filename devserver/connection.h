#pragma once
// One signed-on connection of an account: a client session or the built-in
// bot. An account may hold several at once; IMs and presence reach each of
// them once it has sent toc_init_done, while answers and errors go only to
// the connection that asked, and chat rooms are joined per connection.

#include "devserver/roomids.h"
#include "devserver/serverlines.h"

namespace devserver {

class Endpoint;
struct OnlineUser;

struct Connection {
    OnlineUser *user = nullptr;
    Endpoint *endpoint = nullptr;
    LineStyle style = LineStyle::Toc2Login;
    bool initDone = false;
    bool away = false;
    RoomIds rooms;
};

} // namespace devserver
