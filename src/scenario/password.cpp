#include "scenario/password.h"

namespace qrn {

std::string generatePassword(const DrawSmall& draw) {
    std::string out;
    while (out.empty()) {
        const int n = draw(0, kPasswordCapacity - 1);
        for (int i = 0; i <= n; ++i) {
            const int r = draw(65, 122);
            if (r <= 90 || r > 96) out.push_back(static_cast<char>(r));
        }
        if (out.size() > static_cast<std::size_t>(kPasswordCapacity)) out.resize(kPasswordCapacity);
    }
    return out;
}

}  // namespace qrn
