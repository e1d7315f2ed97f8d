#include "samples/SampleNames.h"

#include <array>

namespace {

// 能, 表 and 十 carry 0x5C as their second Shift_JIS byte.
constexpr std::array kFamily{
    SampleName{"山田", "ﾔﾏﾀﾞ"},     SampleName{"田中", "ﾀﾅｶ"},       SampleName{"佐藤", "ｻﾄｳ"},
    SampleName{"鈴木", "ｽｽﾞｷ"},     SampleName{"高橋", "ﾀｶﾊｼ"},      SampleName{"伊藤", "ｲﾄｳ"},
    SampleName{"渡辺", "ﾜﾀﾅﾍﾞ"},    SampleName{"中村", "ﾅｶﾑﾗ"},      SampleName{"小林", "ｺﾊﾞﾔｼ"},
    SampleName{"加藤", "ｶﾄｳ"},      SampleName{"吉田", "ﾖｼﾀﾞ"},      SampleName{"山本", "ﾔﾏﾓﾄ"},
    SampleName{"松本", "ﾏﾂﾓﾄ"},     SampleName{"井上", "ｲﾉｳｴ"},      SampleName{"木村", "ｷﾑﾗ"},
    SampleName{"林", "ﾊﾔｼ"},        SampleName{"清水", "ｼﾐｽﾞ"},      SampleName{"山崎", "ﾔﾏｻﾞｷ"},
    SampleName{"森", "ﾓﾘ"},         SampleName{"池田", "ｲｹﾀﾞ"},      SampleName{"橋本", "ﾊｼﾓﾄ"},
    SampleName{"阿部", "ｱﾍﾞ"},      SampleName{"石川", "ｲｼｶﾜ"},      SampleName{"前田", "ﾏｴﾀﾞ"},
    SampleName{"藤田", "ﾌｼﾞﾀ"},     SampleName{"小川", "ｵｶﾞﾜ"},      SampleName{"後藤", "ｺﾞﾄｳ"},
    SampleName{"岡田", "ｵｶﾀﾞ"},     SampleName{"長谷川", "ﾊｾｶﾞﾜ"},   SampleName{"村上", "ﾑﾗｶﾐ"},
    SampleName{"近藤", "ｺﾝﾄﾞｳ"},    SampleName{"石井", "ｲｼｲ"},       SampleName{"坂本", "ｻｶﾓﾄ"},
    SampleName{"遠藤", "ｴﾝﾄﾞｳ"},    SampleName{"青木", "ｱｵｷ"},       SampleName{"藤井", "ﾌｼﾞｲ"},
    SampleName{"西村", "ﾆｼﾑﾗ"},     SampleName{"福田", "ﾌｸﾀﾞ"},      SampleName{"太田", "ｵｵﾀ"},
    SampleName{"三浦", "ﾐｳﾗ"},      SampleName{"藤原", "ﾌｼﾞﾜﾗ"},     SampleName{"岡本", "ｵｶﾓﾄ"},
    SampleName{"松田", "ﾏﾂﾀﾞ"},     SampleName{"中川", "ﾅｶｶﾞﾜ"},     SampleName{"原田", "ﾊﾗﾀﾞ"},
    SampleName{"峰", "ﾐﾈ"},         SampleName{"毒島", "ﾌﾞｽｼﾞﾏ"},    SampleName{"白井", "ｼﾗｲ"},
    SampleName{"菊地", "ｷｸﾁ"},      SampleName{"桐生", "ｷﾘｭｳ"},      SampleName{"瓜生", "ｳﾘｭｳ"},
    SampleName{"馬場", "ﾊﾞﾊﾞ"},     SampleName{"平本", "ﾋﾗﾓﾄ"},      SampleName{"濱野谷", "ﾊﾏﾉﾔ"},
    SampleName{"今垣", "ｲﾏｶﾞｷ"},    SampleName{"井口", "ｲｸﾞﾁ"},      SampleName{"寺田", "ﾃﾗﾀﾞ"},
    SampleName{"守田", "ﾓﾘﾀ"},      SampleName{"深川", "ﾌｶｶﾞﾜ"},     SampleName{"辻", "ﾂｼﾞ"},
    SampleName{"能登", "ﾉﾄ"},       SampleName{"能勢", "ﾉｾ"},        SampleName{"表", "ｵﾓﾃ"},
    SampleName{"十河", "ｿｺﾞｳ"},     SampleName{"別府", "ﾍﾞｯﾌﾟ"},     SampleName{"新田", "ﾆｯﾀ"},
    SampleName{"片岡", "ｶﾀｵｶ"},     SampleName{"磯部", "ｲｿﾍﾞ"},      SampleName{"宮之原", "ﾐﾔﾉﾊﾗ"},
    SampleName{"日高", "ﾋﾀﾞｶ"},     SampleName{"坪井", "ﾂﾎﾞｲ"},      SampleName{"吉川", "ﾖｼｶﾜ"},
    SampleName{"本多", "ﾎﾝﾀﾞ"},     SampleName{"塩田", "ｼｵﾀﾞ"},      SampleName{"一瀬", "ｲﾁﾉｾ"},
    SampleName{"別所", "ﾍﾞｯｼｮ"},    SampleName{"平尾", "ﾋﾗｵ"},       SampleName{"上平", "ｳｴﾋﾗ"},
    SampleName{"湯川", "ﾕｶﾜ"},      SampleName{"茅原", "ｶﾔﾊﾗ"},      SampleName{"大池", "ｵｵｲｹ"},
    SampleName{"土屋", "ﾂﾁﾔ"},      SampleName{"関", "ｾｷ"},          SampleName{"堀之内", "ﾎﾘﾉｳﾁ"},
    SampleName{"北村", "ｷﾀﾑﾗ"},     SampleName{"半田", "ﾊﾝﾀﾞ"},      SampleName{"出口", "ﾃﾞｸﾞﾁ"},
};

constexpr std::array kMale{
    SampleName{"太郎", "ﾀﾛｳ"},      SampleName{"一郎", "ｲﾁﾛｳ"},      SampleName{"健太", "ｹﾝﾀ"},
    SampleName{"大輔", "ﾀﾞｲｽｹ"},    SampleName{"翔太", "ｼｮｳﾀ"},      SampleName{"拓也", "ﾀｸﾔ"},
    SampleName{"直樹", "ﾅｵｷ"},      SampleName{"和也", "ｶｽﾞﾔ"},      SampleName{"誠", "ﾏｺﾄ"},
    SampleName{"茂", "ｼｹﾞﾙ"},       SampleName{"博", "ﾋﾛｼ"},         SampleName{"浩二", "ｺｳｼﾞ"},
    SampleName{"康弘", "ﾔｽﾋﾛ"},     SampleName{"秀樹", "ﾋﾃﾞｷ"},      SampleName{"雄一", "ﾕｳｲﾁ"},
    SampleName{"竜也", "ﾀﾂﾔ"},      SampleName{"慎吾", "ｼﾝｺﾞ"},      SampleName{"剛", "ﾂﾖｼ"},
    SampleName{"圭介", "ｹｲｽｹ"},     SampleName{"圭", "ｹｲ"},          SampleName{"圭太", "ｹｲﾀ"},
    SampleName{"鉄平", "ﾃｯﾍﾟｲ"},    SampleName{"一平", "ｲｯﾍﾟｲ"},     SampleName{"純平", "ｼﾞｭﾝﾍﾟｲ"},
    SampleName{"祥平", "ｼｮｳﾍｲ"},    SampleName{"裕樹", "ﾕｳｷ"},       SampleName{"優斗", "ﾕｳﾄ"},
    SampleName{"大翔", "ﾋﾛﾄ"},      SampleName{"蓮", "ﾚﾝ"},          SampleName{"陸", "ﾘｸ"},
    SampleName{"隼人", "ﾊﾔﾄ"},      SampleName{"勝也", "ｶﾂﾔ"},       SampleName{"修", "ｵｻﾑ"},
    SampleName{"豊", "ﾕﾀｶ"},        SampleName{"進", "ｽｽﾑ"},         SampleName{"実", "ﾐﾉﾙ"},
    SampleName{"聡", "ｻﾄｼ"},        SampleName{"学", "ﾏﾅﾌﾞ"},        SampleName{"憲二", "ｹﾝｼﾞ"},
    SampleName{"恭平", "ｷｮｳﾍｲ"},    SampleName{"雅史", "ﾏｻｼ"},       SampleName{"伸也", "ｼﾝﾔ"},
    SampleName{"友和", "ﾄﾓｶｽﾞ"},    SampleName{"徹", "ﾄｵﾙ"},         SampleName{"賢治", "ｹﾝｼﾞ"},
    SampleName{"龍之介", "ﾘｭｳﾉｽｹ"}, SampleName{"晃", "ｱｷﾗ"},         SampleName{"勇気", "ﾕｳｷ"},
    SampleName{"雄大", "ﾕｳﾀﾞｲ"},    SampleName{"英二", "ｴｲｼﾞ"},      SampleName{"航", "ﾜﾀﾙ"},
    SampleName{"輝", "ﾋｶﾙ"},        SampleName{"駿", "ｼｭﾝ"},         SampleName{"亮", "ﾘｮｳ"},
    SampleName{"十和", "ﾄﾜ"},       SampleName{"弘樹", "ﾋﾛｷ"},       SampleName{"大吾", "ﾀﾞｲｺﾞ"},
    SampleName{"琢磨", "ﾀｸﾏ"},      SampleName{"俊介", "ｼｭﾝｽｹ"},     SampleName{"健一郎", "ｹﾝｲﾁﾛｳ"},
};

constexpr std::array kFemale{
    SampleName{"優子", "ﾕｳｺ"},      SampleName{"恵美", "ｴﾐ"},        SampleName{"彩", "ｱﾔ"},
    SampleName{"美咲", "ﾐｻｷ"},      SampleName{"真由美", "ﾏﾕﾐ"},     SampleName{"香織", "ｶｵﾘ"},
    SampleName{"千尋", "ﾁﾋﾛ"},      SampleName{"陽子", "ﾖｳｺ"},       SampleName{"愛", "ｱｲ"},
    SampleName{"麻衣", "ﾏｲ"},       SampleName{"由紀", "ﾕｷ"},        SampleName{"奈々", "ﾅﾅ"},
    SampleName{"紗希", "ｻｷ"},       SampleName{"舞", "ﾏｲ"},          SampleName{"遥", "ﾊﾙｶ"},
    SampleName{"里奈", "ﾘﾅ"},       SampleName{"桃子", "ﾓﾓｺ"},       SampleName{"梓", "ｱｽﾞｻ"},
    SampleName{"玲奈", "ﾚｲﾅ"},      SampleName{"沙織", "ｻｵﾘ"},       SampleName{"瞳", "ﾋﾄﾐ"},
    SampleName{"美穂", "ﾐﾎ"},       SampleName{"若菜", "ﾜｶﾅ"},       SampleName{"智美", "ﾄﾓﾐ"},
    SampleName{"静香", "ｼｽﾞｶ"},     SampleName{"芽衣", "ﾒｲ"},        SampleName{"花", "ﾊﾅ"},
    SampleName{"小百合", "ｻﾕﾘ"},    SampleName{"圭子", "ｹｲｺ"},       SampleName{"佳苗", "ｶﾅｴ"},
};

constexpr std::array<std::string_view, 18> kBranches{
    "群馬", "埼玉", "東京", "静岡", "愛知", "三重", "福井", "滋賀", "大阪",
    "兵庫", "徳島", "香川", "岡山", "広島", "山口", "福岡", "佐賀", "長崎",
};

constexpr std::array<std::string_view, 47> kPrefectures{
    "北海道", "青　森", "岩　手", "宮　城", "秋　田", "山　形", "福　島", "茨　城",
    "栃　木", "群　馬", "埼　玉", "千　葉", "東　京", "神奈川", "新　潟", "富　山",
    "石　川", "福　井", "山　梨", "長　野", "岐　阜", "静　岡", "愛　知", "三　重",
    "滋　賀", "京　都", "大　阪", "兵　庫", "奈　良", "和歌山", "鳥　取", "島　根",
    "岡　山", "広　島", "山　口", "徳　島", "香　川", "愛　媛", "高　知", "福　岡",
    "佐　賀", "長　崎", "熊　本", "大　分", "宮　崎", "鹿児島", "沖　縄",
};

}  // namespace

std::span<const SampleName> FamilyNames() { return kFamily; }
std::span<const SampleName> MaleNames() { return kMale; }
std::span<const SampleName> FemaleNames() { return kFemale; }
std::span<const std::string_view> Branches() { return kBranches; }
std::span<const std::string_view> Prefectures() { return kPrefectures; }
