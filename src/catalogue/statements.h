#pragma once

// Every statement the program sends to the catalogue, word for word. Parameters are :Param1 to
// :Param3, texts for codes and names, whole numbers for keys. Codes and subject names compare
// without regard to letter case (the fields are declared COLLATE NOCASE).
namespace catalogue::statements {

// Is the code taken? (adding)
inline constexpr const char* kSchoolCodeTaken = "Select * From XXTable Where(XXBH=:Param1)";
inline constexpr const char* kGradeCodeTaken = "Select * From NJTable Where(XXID=:Param1)and(NJBH=:Param2)";
inline constexpr const char* kClassCodeTaken = "Select * From BJTable Where(NJID=:Param1)and(BJBH=:Param2)";
inline constexpr const char* kSubjectNameTaken = "Select * From BKTable Where(BJID=:Param1)and(KMMC=:Param2)";

// Is the code taken by another row? (saving; the last parameter is the row's own key)
inline constexpr const char* kSchoolCodeTakenByOther = "Select * From XXTable Where(XXBH=:Param1)and(XXID<>:Param2)";
inline constexpr const char* kGradeCodeTakenByOther =
    "Select * From NJTable Where(XXID=:Param1)and(NJBH=:Param2)and(NJID<>:Param3)";
inline constexpr const char* kClassCodeTakenByOther =
    "Select * From BJTable Where(NJID=:Param1)and(BJBH=:Param2)and(BJID<>:Param3)";
inline constexpr const char* kSubjectNameTakenByOther =
    "Select * From BKTable Where(BJID=:Param1)and(KMMC=:Param2)and(BKID<>:Param3)";

// The snapshots of the score import.
inline constexpr const char* kAllSchools = "Select * From XXTable";
inline constexpr const char* kAllGrades = "Select * From NJTable";
inline constexpr const char* kAllClasses = "Select * From BJTable";
inline constexpr const char* kAllSubjects = "Select * From BKTable";

} // namespace catalogue::statements
