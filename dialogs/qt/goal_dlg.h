#pragma once

#include "dialogs/goal_logic.h"
#include "platform/qt/dialog.h"

#include <optional>

// "目標体重": the goal weight of the diary shown, or none (an empty field).
// OK with a text that is not a weight says so and keeps the dialog open;
// Cancel changes nothing.
class CGoalDlg : public CDialog, private GoalData {
    Q_OBJECT
public:
    explicit CGoalDlg(std::optional<double> goal, QWidget* parent = nullptr);

    // The goal after OK.
    std::optional<double> Goal() const { return m_goal; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;

private:
    std::optional<double> m_goal;
};

constexpr int IDC_GOAL = 1010;
