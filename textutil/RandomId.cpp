// Random identifier texts.

#include "textutil/RandomId.h"

#include "textutil/RandomSource.h"

c_String MakeRandomIdText() {
    int groups[16];
    for (int& group : groups) {
        group = GetRandomIntInRange(65535);
    }
    groups[6] = 0x4000 | GetRandomIntInRange(4095);
    groups[8] = 0x8000 | GetRandomIntInRange(16383);
    return c_String::MakeFormatted("%04x%04x%04x%04x-%04x%04x-%04x%04x-%04x%04x-%04x%04x%04x%04x%04x%04x", groups[0],
                                   groups[1], groups[2], groups[3], groups[4], groups[5], groups[6], groups[7],
                                   groups[8], groups[9], groups[10], groups[11], groups[12], groups[13], groups[14],
                                   groups[15]);
}

int GetRandomByteValue() {
    return GetRandomByte();
}

int GetRandomInt(int n) {
    return GetRandomIntInRange(n);
}
