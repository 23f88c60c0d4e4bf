#pragma once
// One client's connection: each line it sends in, one complete answer out.

#include "net/RigModel.h"

#include <string>
#include <string_view>

namespace kivo::net {

struct Answer {
    std::string text; // the whole answer, ending with "\n"; empty only when closing
    bool close = false;
};

class Session {
public:
    explicit Session(RigModel& rig) : m_rig(rig) {}

    // The answer to one line (with or without its "\n"): the values of a get, `RPRT 0` for a
    // set, `RPRT -N` for a failure, in the form the line asked for; `q` and `Q` close.
    Answer Handle(std::string_view line);

private:
    RigModel& m_rig;
};

} // namespace kivo::net
