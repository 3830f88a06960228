#pragma once
// What a transfer needs from whoever waits on a person: the receive-patch and receive-bank
// dialogs and the bank-send progress. The window implements it with its dialogs; the
// command-line tool with a wait on the byte count.

class VF1MIDI;

class TransferDialogs {
  public:
    virtual ~TransferDialogs() = default;
    // Sends the patch request (VF1MIDI::RequestPatch) and shows the growing byte count until the
    // user loads or cancels; true for Load.
    virtual bool RunReceivePatch(VF1MIDI& midi, bool toMemory, bool bankB, int index) = 0;
    // Shows the growing byte count of a bank dump started on the unit; true for Load.
    virtual bool RunReceiveBank(VF1MIDI& midi, int expectedBytes) = 0;
    // Bank send progress: patchesSent grows between Update calls; the user may set cancel.
    virtual void BeginSendBank(const int& patchesSent, bool& cancel) = 0;
    virtual void UpdateSendBank() = 0;
    virtual void EndSendBank() = 0;
};

// The MIDI LFO, which shares the output device with the SysEx transfers.
class LfoControl {
  public:
    virtual ~LfoControl() = default;
    virtual bool IsRunning() = 0;
    virtual void Stop() = 0;
    virtual bool StreamBusy() = 0;
};
