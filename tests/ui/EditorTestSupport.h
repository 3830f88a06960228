#pragma once
// What the diagram and panel tests share: a stand-in for the unit that records what parameters
// send while real-time editing is on, and the part of the main window a diagram lives in.

#include <QFrame>
#include <QLabel>
#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "model/RealTime.h"
#include "model/Report.h"
#include "model/VF1Algorithm.h"
#include "ui/editor/VF1FXButton.h"
#include "ui/editor/VF1FXControlWnd.h"
#include "ui/editor/VF1ParamControlWnd.h"

// Records the program's messages for its lifetime instead of showing them; every one is answered OK.
class RecordedMessages {
  public:
    RecordedMessages()
        : previous(SetMessageHandler([this](const std::string& text, MessageStyle) {
              texts.push_back(text);
              return 1;
          })) {}
    ~RecordedMessages() { SetMessageHandler(previous); }
    RecordedMessages(const RecordedMessages&) = delete;
    RecordedMessages& operator=(const RecordedMessages&) = delete;

    std::vector<std::string> texts;

  private:
    MessageHandler previous;
};

// Turns real-time editing on for its lifetime and records single values and whole blocks sent.
class RecordingUnit : public RealTimeSink {
  public:
    RecordingUnit() {
        SetRealTimeSink(this);
        SetRealTimeEdits(true);
    }
    ~RecordingUnit() override {
        SetRealTimeSink(nullptr);
        SetRealTimeEdits(false);
    }
    bool SendParameter(int address, int value, int width) override {
        sent.push_back({address, value, width});
        return true;
    }
    bool SendBlock(VF1Effect&) override {
        ++blocks;
        return true;
    }
    // address, value, width
    std::vector<std::array<int, 3>> sent;
    int blocks = 0;
};

// The LCD picture and the parameter panel frame of the main window, with a diagram built in them.
struct DiagramHost {
    QWidget window;
    QLabel* lcd;
    QFrame* frame;
    std::unique_ptr<VF1FXControlWnd> diagram;

    explicit DiagramHost(VF1Algorithm& patch) : lcd(new QLabel(&window)), frame(new QFrame(&window)) {
        window.resize(580, 490);
        lcd->setGeometry(10, 50, 462, 165);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setGeometry(10, 220, 551, 261);
        diagram = std::make_unique<VF1FXControlWnd>(&patch, frame, lcd);
        diagram->Create();
        window.show();
    }
    // Pair k in diagram order.
    VF1FXButton& Button(int k) { return *diagram->GetPairs()[size_t(k)]->button; }
    VF1ParamControlWnd& Panel(int k) { return *diagram->GetPairs()[size_t(k)]->panel; }
    int Selected() const {
        const auto& pairs = diagram->GetPairs();
        for (size_t k = 0; k < pairs.size(); ++k)
            if (pairs[k].get() == diagram->GetSelectedPair()) return int(k);
        return -1;
    }
};
