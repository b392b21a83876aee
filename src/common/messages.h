#pragma once

#include <string>
#include <string_view>

// Every text the program shows to its user, in one place, so that the window and the batch
// command say the same words. Texts without a closing full stop are shown by the general error
// box, which adds it.
namespace messages {

// Application and captions.
inline constexpr const char* kAppTitle = "睿衡达成绩评估系统";
inline constexpr const char* kCredit = "睿衡达项目组";
inline constexpr const char* kWarningCaption = "警告";
inline constexpr const char* kInformationCaption = "信息";
inline constexpr const char* kConfirmationCaption = "确认";
inline constexpr const char* kErrorCaption = "错误";
inline constexpr const char* kOkButton = "确定";
inline constexpr const char* kYesButton = "是[&Y]";
inline constexpr const char* kNoButton = "否[&N]";
// "睿衡达成绩评估系统V2.0-[" + credit + "]".
std::string mainWindowCaption();

// Catalogue editing: required fields.
inline constexpr const char* kEnterCode = "请输入'编号'！";
inline constexpr const char* kEnterSchoolName = "请输入'学校名称'！";
inline constexpr const char* kEnterGradeName = "请输入'年级名称'！";
inline constexpr const char* kEnterClassName = "请输入'班级名称'！";
inline constexpr const char* kEnterSubjectName = "请输入'科目名称'！";
inline constexpr const char* kEnterTeacher = "请输入'任课教师'！";
inline constexpr const char* kEnterFullMarks = "请输入'总分'！";
// Catalogue editing: uniqueness.
inline constexpr const char* kCodeExists = "'编号'已经存在，请重新输入！";
inline constexpr const char* kSubjectNameExists = "'科目名称'已经存在，请重新输入！";
// Catalogue editing: selection.
inline constexpr const char* kSelectSchool = "请选择一条学校记录后再进行此操作！";
inline constexpr const char* kSelectGrade = "请选择一条年级记录后再进行此操作！";
inline constexpr const char* kSelectClass = "请选择一条班级记录后再进行此操作！";
inline constexpr const char* kSelectSubject = "请选择一条科目记录后再进行此操作！";
// Catalogue editing: deletion.
inline constexpr const char* kConfirmDelete = "一定要删除该记录吗？";
inline constexpr const char* kSchoolInUse = "该学校正在使用，不能删除！";
inline constexpr const char* kGradeInUse = "该年级正在使用，不能删除！";
inline constexpr const char* kClassInUse = "该班级正在使用，不能删除！";

// Main window: list group boxes, entry panel (captions by entry mode), buttons, list columns.
inline constexpr const char* kSchoolList = "学校列表";
inline constexpr const char* kGradeList = "年级列表";
inline constexpr const char* kClassList = "班级列表";
inline constexpr const char* kSubjectList = "科目列表";
inline constexpr const char* kSchoolEntry = "学校录入";
inline constexpr const char* kGradeEntry = "年级录入";
inline constexpr const char* kClassEntry = "班级录入";
inline constexpr const char* kSubjectEntry = "科目录入";
inline constexpr const char* kCodeLabel = "编    号：";
inline constexpr const char* kSchoolNameLabel = "学校名称：";
inline constexpr const char* kGradeNameLabel = "年级名称：";
inline constexpr const char* kClassNameLabel = "班级名称：";
inline constexpr const char* kParticipationLabel = "参评人数：";
inline constexpr const char* kSubjectNameLabel = "科目名称：";
inline constexpr const char* kTeacherLabel = "任课教师：";
inline constexpr const char* kFullMarksLabel = "总    分：";
inline constexpr const char* kAddButton = "增加";
inline constexpr const char* kModifyButton = "修改";
inline constexpr const char* kSaveButton = "保存";
inline constexpr const char* kDeleteButton = "删除";
inline constexpr const char* kParticipationGroup = "参评人数定义";
inline constexpr const char* kShareOfExamineesRadio = "参考人数*       %";
inline constexpr const char* kCountPerClassRadio = "参评人数指定到班";
inline constexpr const char* kThresholdRadio = "参考人数>=      ，参评人数=      ；参考人数<      ，参评人数=参考人数*       %";
inline constexpr const char* kImportButton = "导入年级数据";
inline constexpr const char* kStudentReportButton = "导出学生成绩表";
inline constexpr const char* kClassReportButton = "导出班级评估表";
inline constexpr const char* kTeacherReportButton = "导出教师评估表";
inline constexpr const char* kAboutButton = "关于(&A)";
inline constexpr const char* kCloseButton = "退出(&C)";
inline constexpr const char* kListHint = "双击修改";
inline constexpr const char* kNumberColumn = "序号";
inline constexpr const char* kCodeColumn = "编号";
inline constexpr const char* kSchoolNameColumn = "学校名称";
inline constexpr const char* kGradeNameColumn = "年级名称";
inline constexpr const char* kClassNameColumn = "班级名称";
inline constexpr const char* kParticipationColumn = "参评人数";
inline constexpr const char* kSubjectNameColumn = "科目名称";
inline constexpr const char* kTeacherColumn = "任课教师";
inline constexpr const char* kFullMarksColumn = "总分";
// An error of no known kind reached the window's guard.
inline constexpr const char* kUnexpectedError = "程序发生了意外错误";

// About dialog. The author and unit lines name the project's team; there is no telephone or
// e-mail contact, so those lines show a dash.
inline constexpr const char* kAboutCaption = "关于系统";
inline constexpr const char* kVersionLine = "版本：2.0";
inline constexpr const char* kAuthorPrefix = "作  者：";
inline constexpr const char* kTelephonePrefix = "手  机：";
inline constexpr const char* kUnitPrefix = "单  位：";
inline constexpr const char* kEmailPrefix = "E_mail：";
inline constexpr const char* kWebPrefix = "网  址：";
inline constexpr const char* kAboutAuthor = "睿衡达项目组";
inline constexpr const char* kAboutUnit = "睿衡达成绩评估系统项目组";
inline constexpr const char* kNoContact = "—";
// "Windows  的可用物理内存：" on Windows; the name of the system it runs on elsewhere.
std::string physicalMemoryLabel();
inline constexpr const char* kMemoryLoadLabel = "使用内存：";

// Conversions of typed or read text ('%s' is the text).
std::string notAnInteger(std::string_view text);        // "'%s' 不是一个有效的整形值"
std::string notAFloatingPoint(std::string_view text);   // "'%s' is 不是一个有效的浮点值"

// Opening the catalogue database.
std::string catalogueMissing(std::string_view path);
std::string catalogueIsAccess(std::string_view path);
std::string catalogueNotSqlite(std::string_view path);
std::string catalogueLacksTable(std::string_view path, std::string_view table);
std::string catalogueLacksField(std::string_view path, std::string_view table, std::string_view field);
std::string catalogueUnreadable(std::string_view path, std::string_view reason);
// A database operation after opening failed; `reason` says why in the user's terms.
std::string catalogueOperationFailed(std::string_view reason);
inline constexpr const char* kDatabaseReadOnly = "数据库文件是只读的，无法写入";
inline constexpr const char* kDatabaseLocked = "数据库文件正被其他程序使用（已锁定），请关闭该程序后重试";
inline constexpr const char* kDatabaseFull = "磁盘空间不足，无法写入数据库文件";
inline constexpr const char* kDatabaseCorrupt = "数据库文件已损坏";
inline constexpr const char* kDatabaseIoError = "读写数据库文件时出错";
// The catalogue-init command.
std::string catalogueFileExists(std::string_view path);
std::string catalogueCreated(std::string_view path);
std::string demoCatalogueCreated(std::string_view path);

// Reading a score workbook; `path` names the file.
std::string workbookUnreadable(std::string_view path);
std::string workbookNotExcel97(std::string_view path);
std::string workbookEncrypted(std::string_view path);
std::string workbookOldFormat(std::string_view path);
std::string workbookCorrupt(std::string_view path, std::string_view detail);
std::string workbookWithoutWorksheet(std::string_view path);
// The details of workbookCorrupt.
inline constexpr const char* kWorkbookContainerBroken = "复合文档结构已损坏";
inline constexpr const char* kWorkbookTruncated = "数据在工作簿结束之前中断";
inline constexpr const char* kWorkbookRecordBeyondEnd = "记录长度超出了数据末尾";
inline constexpr const char* kWorkbookRecordTooShort = "记录的长度不足";
inline constexpr const char* kWorkbookNoBeginning = "缺少工作簿的开始记录";
inline constexpr const char* kWorkbookUnknownVersion = "无法识别的工作簿版本";
inline constexpr const char* kWorkbookSheetPosition = "工作表的位置错误";
inline constexpr const char* kWorkbookStringTableBroken = "共享字符串表已损坏";
inline constexpr const char* kWorkbookStringIndex = "单元格引用了不存在的共享字符串";

// Writing a report workbook.
std::string workbookTooManyRows(std::string_view path);
std::string workbookTooManyColumns(std::string_view path);
std::string workbookSaveFailed(std::string_view path, std::string_view reason);
inline constexpr const char* kDiskFull = "磁盘空间不足";
inline constexpr const char* kNoWritePermission = "没有写入权限";
inline constexpr const char* kFolderMissing = "文件夹不存在";
inline constexpr const char* kFileInUse = "文件正被其他程序使用";
inline constexpr const char* kTargetIsFolder = "已有同名的文件夹";
inline constexpr const char* kWriteError = "写入文件时出错";

// Score import.
inline constexpr const char* kOpenScoresFilter = "Microsoft Excel 成绩工作簿(*.xls)|*.xls";
inline constexpr const char* kNoSubjects = "对不起，科目数量为0，不能导入！";
inline constexpr const char* kNoStudents = "对不起，成绩记录数为0，不能导入！";
std::string badScore(int row, int column);              // "对不起，第R行第C列数据错误，不能导入！"
inline constexpr const char* kImportSucceeded = "年级成绩数据导入成功！";

// Report exports.
inline constexpr const char* kSaveReportFilter = "Microsoft Excel 报表工作簿(*.xls)|*.xls";
inline constexpr const char* kImportFirst = "对不起，请先导入年级成绩数据！";
inline constexpr const char* kEnterParticipation = "对不起，请先输入参评人数定义参数！";
inline constexpr const char* kSelectClassFirst = "对不起，请先在班级列表中选择相应的班级！";
inline constexpr const char* kStudentReportName = "学生成绩表";
inline constexpr const char* kClassReportName = "班级评估表";
inline constexpr const char* kTeacherReportName = "教师评估表";
inline constexpr const char* kStudentReportSaved = "学生成绩表导出成功！";
inline constexpr const char* kClassReportSaved = "班级评估表导出成功！";
inline constexpr const char* kTeacherReportSaved = "教师评估表导出成功！";

} // namespace messages
