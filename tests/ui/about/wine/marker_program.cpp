// Stands in for the system-information tool: leaves "<its own path>.ran" holding its command
// line, so the test sees which file was started and how.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char self[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) {
        return 1;
    }
    const std::string marker = std::string(self) + ".ran";
    std::FILE* out = std::fopen(marker.c_str(), "wb");
    if (out == nullptr) {
        return 1;
    }
    std::fputs(GetCommandLineA(), out);
    std::fclose(out);
    return 0;
}
