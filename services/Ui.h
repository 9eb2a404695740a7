// How the program speaks to the person in front of it.
//
// Screens and services never draw anything themselves: a validation failure is one plain
// message box, a warning an exclamation box, a question a Yes/No box; long loops report
// their progress and let pending window messages run between rows. The desktop program
// answers with real Qt boxes; the headless driver (`keltro-ar automate`) and the tests
// record what was said and answer questions from a queue.
//
// Multi-line messages join their lines with "\n".
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace keltro::services {

class Ui {
public:
    virtual ~Ui() = default;
    // A plain message box with an OK button.
    virtual void message(const std::string& text) = 0;
    // An exclamation (warning) box with an OK button.
    virtual void warn(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const std::string& text) = 0;
    // A long loop has done `done` of `total` steps.
    virtual void progress(long done, long total) = 0;
    // Lets pending window messages run (a no-op without a window system).
    virtual void pumpEvents() = 0;
};

// A Ui without a person: remembers what it was told, answers questions from a queue and
// "No" when the queue is empty.
class RecordingUi : public Ui {
public:
    enum class Kind { Message, Warning, Question };
    struct Said {
        Kind kind;
        std::string text;
        bool answer = false;  // questions only
    };

    void message(const std::string& text) override { m_said.push_back({Kind::Message, text}); }
    void warn(const std::string& text) override { m_said.push_back({Kind::Warning, text}); }
    bool ask(const std::string& text) override {
        bool answer = false;
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        m_said.push_back({Kind::Question, text, answer});
        return answer;
    }
    void progress(long done, long total) override {
        m_lastProgress = {done, total};
    }
    void pumpEvents() override {}

    void queueAnswer(bool yes) { m_answers.push_back(yes); }
    const std::vector<Said>& said() const { return m_said; }
    // The texts of everything said, in order (handy in test expectations).
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& s : m_said) out.push_back(s.text);
        return out;
    }
    void clear() { m_said.clear(); }
    std::pair<long, long> lastProgress() const { return m_lastProgress; }

private:
    std::vector<Said> m_said;
    std::deque<bool> m_answers;
    std::pair<long, long> m_lastProgress{0, 0};
};

}  // namespace keltro::services
