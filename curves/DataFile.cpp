#include "curves/DataFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "platform/ResultWindow.h"

namespace zemra {

std::string DataLine(double x, double y) {
    return PrintLine().Num(x).Text(",").Zone().Num(y).Str() + "\r\n";
}

void WriteData(int firstPoint, int lastPoint, const Array1<kRows>& X, const Array2<kRows, 6>& Y,
               int curveNo, Host& host) {
    const auto name = host.ChooseSaveFile(kDataFileFilter);
    if (!name) return;  // the user cancelled the dialog: nothing to write
    std::string text;
    // Row 0 holds no point: before the first curve exists the range is 0..0 and the file is
    // written empty rather than with a line of zeros.
    try {
        for (int i = std::max(firstPoint, 1); i <= lastPoint; ++i)
            text += DataLine(X(i), Y(i, curveNo));
    } catch (const RuntimeError& e) {
        host.MessageBox("WriteData Error: " + e.Description());
        return;
    }
    errno = 0;
    std::ofstream file(*name, std::ios::binary | std::ios::trunc);
    if (!file) {
        const char* why = errno != 0 ? std::strerror(errno) : "the file could not be created";
        host.MessageBox("WriteData Error: " + std::string(why));
        return;
    }
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) host.MessageBox("WriteData Error: the file could not be written");
}

}  // namespace zemra
