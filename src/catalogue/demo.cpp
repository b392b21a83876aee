#include "demo.h"

#include "data_module.h"
#include "schema.h"

#include <array>

namespace catalogue {

namespace {

struct DemoSubject {
    const char* name;
    std::int64_t fullMarks;
};

constexpr std::array<DemoSubject, 5> kSubjects{{{"语文", 150}, {"数学", 150}, {"英语", 150}, {"物理", 100}, {"化学", 100}}};
constexpr std::array<const char*, 3> kClassNames{"一班", "二班", "三班"};
// Invented teachers' names, one list per school, five per class.
constexpr std::array<const char*, 30> kTeachers{
    "王丽华", "李建国", "张晓燕", "刘志强", "陈海燕", "杨文静", "赵德明", "黄晓梅", "周国平", "吴秀兰",
    "徐明亮", "孙丽娟", "胡建华", "朱玉兰", "高志远", "林春梅", "何建军", "郭晓东", "马丽萍", "罗文华",
    "梁秀英", "宋志刚", "郑美玲", "谢国强", "韩雪梅", "唐伟民", "冯晓红", "于海涛", "董静怡", "萧长青"};

} // namespace

void createDemoCatalogue(const std::string& path) {
    createCatalogue(path);
    TDM dm(path);
    const std::array<std::pair<const char*, const char*>, 2> schools{{{"01", "第一中学"}, {"02", "第二中学"}}};
    std::size_t teacher = 0;
    for (const auto& [code, name] : schools) {
        const std::int64_t school = appendRow(dm.XXTable(), {{"XXBH", std::string(code)}, {"XXMC", std::string(name)}});
        const std::int64_t grade = appendRow(
            dm.NJTable(), {{"XXID", school}, {"NJBH", std::string("02")}, {"NJMC", std::string("初二年级")}});
        for (std::size_t c = 0; c < kClassNames.size(); ++c) {
            const std::int64_t schoolClass = appendRow(dm.BJTable(), {{"XXID", school},
                                                                      {"NJID", grade},
                                                                      {"BJBH", "0" + std::to_string(c + 1)},
                                                                      {"BJMC", std::string(kClassNames[c])},
                                                                      {"CPRS", std::int64_t{40}}});
            for (const DemoSubject& subject : kSubjects) {
                appendRow(dm.BKTable(), {{"XXID", school},
                                         {"NJID", grade},
                                         {"BJID", schoolClass},
                                         {"KMMC", std::string(subject.name)},
                                         {"RKJS", std::string(kTeachers[teacher++ % kTeachers.size()])},
                                         {"KMZF", subject.fullMarks}});
            }
        }
    }
    dm.closeConnection();
}

} // namespace catalogue
