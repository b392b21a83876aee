#pragma once

#include "export_frame.h"
#include "participation.h"

#include "import/score_import.h"
#include "spreadsheet/sheet.h"
#include "support/catalogue_builder.h"
#include "support/recording_progress.h"

#include <string>
#include <vector>

namespace reports::testing {

struct Student {
    std::string examNumber;
    std::vector<double> scores;
    std::string name = "某生";
};

// The grade data set of these students and subjects over the builder's catalogue.
inline scores::GradeDataSet buildData(testing_support::CatalogueBuilder& catalogue, std::vector<std::string> subjects,
                                      const std::vector<Student>& students) {
    scores::ScoreSheet sheet;
    sheet.subjects = std::move(subjects);
    for (const Student& student : students) {
        sheet.examNumbers.push_back(student.examNumber);
        sheet.names.push_back(student.name);
        sheet.scores.insert(sheet.scores.end(), student.scores.begin(), student.scores.end());
    }
    testing_support::RecordingProgress progress;
    return scores::BuildGradeDataSet(catalogue.dm(), sheet, progress);
}

inline ParticipationRule percentRule(const char* p) {
    ParticipationInput input;
    input.percentage = p;
    return CheckParticipationParameters(input);
}

inline ParticipationRule catalogueRule() {
    ParticipationInput input;
    input.mode = ParticipationMode::CatalogueCount;
    return CheckParticipationParameters(input);
}

inline ParticipationRule thresholdRule(const char* t1, const char* c, const char* t2, const char* q) {
    ParticipationInput input;
    input.mode = ParticipationMode::Rule;
    input.threshold = t1;
    input.fixedCount = c;
    input.smallBelow = t2;
    input.smallPercentage = q;
    return CheckParticipationParameters(input);
}

// An export host that answers from its fields and records what it was asked and told.
class RecordingHost : public ExportHost {
public:
    ParticipationInput participationInput() const override { return input; }
    std::optional<SelectedClass> selectedClass() override { return selected; }
    std::optional<std::string> chooseFileName(const std::string& suggested) override {
        offered.push_back(suggested);
        return fileName;
    }
    common::Progress& progress() override { return bar; }
    void reportSaved(const std::string& message) override { messages.push_back(message); }

    ParticipationInput input;
    std::optional<SelectedClass> selected = SelectedClass{"01", "一中", "02", "初二", "01", "一班"};
    std::optional<std::string> fileName;
    std::vector<std::string> offered;
    testing_support::RecordingProgress bar;
    std::vector<std::string> messages;
};

// The text a cell shows: its text, or its number in its number format.
std::string shown(const spreadsheet::Sheet& sheet, int row, int column);

// The texts columns 1 to lastColumn of a row show.
std::vector<std::string> shownRow(const spreadsheet::Sheet& sheet, int row, int lastColumn);

// Whether the sheet holds exactly this merged range.
bool hasMerge(const spreadsheet::Sheet& sheet, const spreadsheet::Range& range);

} // namespace reports::testing
