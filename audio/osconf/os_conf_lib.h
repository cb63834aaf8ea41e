#pragma once

#include <cstdint>

// The entry points of the audio configuration library (libosConfLib.so), as the headset's bridge
// resolves them by name with dlopen/dlsym. The program never links against the library; this
// header only fixes the calling shapes both sides agree on.
//
// Texts are UTF-8 (the property names the program passes, the values the library reads back).
//
// Contract:
// - ConfLibInit returns 0 on success; every other call works only after it.
// - GetDeviceCount(flow, &count): flow 0 playback, 1 recording.
// - GetDeviceById(flow, index, &descriptor): 0 when the index names an endpoint.
// - PropertyControl(descriptor, name, &valuePointer, &indexPointer or null, 0 read / 1 write):
//   a write takes raw data at the start of *valuePointer (a 32-bit integer or float, by property);
//   a read puts the value as NUL-terminated number text into *valuePointer (at most
//   kOsConfValueBufferSize bytes). 0 = success, anything else = failure (unknown property, an
//   endpoint without it, a value never set, or a refused write).
// - The other entry points exist so that the program can resolve them; it never calls them.
//
// Threads: one caller at a time.

extern "C" {

// Four 32-bit fields; the program reads the endpoint kind and the present flag and hands the
// record back unchanged otherwise.
struct AudioDeviceDescriptor {
    int32_t id;       // the library's own number for the endpoint
    int32_t kind;     // 1 speaker, 2 microphone, 4, 7, 12 other outputs
    int32_t flow;     // 0 playback, 1 recording
    int32_t present;  // 1 = present and active
};
static_assert(sizeof(AudioDeviceDescriptor) == 16);

inline constexpr int kOsConfValueBufferSize = 1024;

using ConfLibInitFn = int (*)();
using ConfLibUnInitFn = int (*)();
using CreateDeviceListFn = int (*)();
using GetDeviceCountFn = int (*)(int flow, int* count);
using GetDeviceByIdFn = int (*)(int flow, int index, AudioDeviceDescriptor* descriptor);
using PropertyControlFn = int (*)(AudioDeviceDescriptor descriptor, const char* name, void** value,
                                  void** index, int write);
using RegisterCallbackFunctionFn = int (*)(void (*callback)(int event, void* context), void* context);
using ShowAsioPanelFn = int (*)();
using PlayTestSoundFn = int (*)(AudioDeviceDescriptor descriptor);
using StopTestSoundFn = int (*)(AudioDeviceDescriptor descriptor);
using CloseTestSoundFn = int (*)(AudioDeviceDescriptor descriptor);

int ConfLibInit();
int ConfLibUnInit();
int CreateDeviceList();
int GetDeviceCount(int flow, int* count);
int GetDeviceById(int flow, int index, AudioDeviceDescriptor* descriptor);
int PropertyControl(AudioDeviceDescriptor descriptor, const char* name, void** value, void** index,
                    int write);
int RegisterCallbackFunction(void (*callback)(int event, void* context), void* context);
int ShowAsioPanel();
int PlayTestSound(AudioDeviceDescriptor descriptor);
int StopTestSound(AudioDeviceDescriptor descriptor);
int CloseTestSound(AudioDeviceDescriptor descriptor);
}
