#pragma once
// c_StreamWriter: the push interface of a byte stream. Write takes every byte it is given; a writer
// that can fail keeps its error for its owner to ask.

#include "strings/s_ByteSpan.h"

class c_StreamWriter {
public:
    virtual ~c_StreamWriter() = 0;
    virtual void Write(s_ByteSpan data) = 0;
};

inline c_StreamWriter::~c_StreamWriter() = default;
