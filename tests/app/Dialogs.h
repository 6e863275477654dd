// Answers the modal windows a run opens, in turn, as a user would: each answer is given the
// window once it is up, and records what it showed.
#pragma once
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

class DialogAnswers : public QObject {
public:
    using Answer = std::function<void(QWidget* window)>;

    DialogAnswers()
    {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* window = QApplication::activeModalWidget();
            // A window shown again after it closed is answered again.
            if (!window)
                last_ = nullptr;
            if (!window || window == last_ || answers_.empty())
                return;
            last_ = window;
            Answer answer = std::move(answers_.front());
            answers_.pop_front();
            ++Answered;
            answer(window);
        });
        timer_.start();
    }

    DialogAnswers& Then(Answer answer)
    {
        answers_.push_back(std::move(answer));
        return *this;
    }
    bool Done() const { return answers_.empty(); }
    int Answered = 0;

private:
    QTimer timer_;
    std::deque<Answer> answers_;
    QPointer<QWidget> last_;
};
