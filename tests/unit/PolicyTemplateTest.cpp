// The Group Policy template an administrator loads writes exactly the values the program
// reads: every policy in it is one row of the program's table, with the row's name, key and
// kind of data, for the machine and the user alike; and every row has its policy.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "runtime/Text.h"
#include "settings/PolicyValues.h"

namespace {

std::string Template() {
  std::ifstream file(VORNATIC_POLICY_TEMPLATE);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (const wchar_t* c = text; *c; ++c) narrow += static_cast<char>(*c);
  return narrow;
}

std::set<std::string> All(const std::string& text, const std::regex& pattern) {
  std::set<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it) found.insert((*it)[1]);
  return found;
}

// What one policy of the template writes when it is enabled or disabled.
struct Written {
  std::set<std::string> keys, valueNames;
  bool text = false, dword = false, bothClasses = false, list = false;
};

std::map<std::string, Written> PoliciesOf(const std::string& admx) {
  std::map<std::string, Written> policies;
  const std::regex policy(R"re(<policy\s+name="(\w+)"([\s\S]*?)</policy>)re");
  for (std::sregex_iterator it(admx.begin(), admx.end(), policy), end; it != end; ++it) {
    const std::string body = (*it)[2];
    Written& written = policies[(*it)[1]];
    written.keys = All(body, std::regex(R"re(\bkey="([^"]*)\")re"));
    written.valueNames = All(body, std::regex(R"re(\bvalueName="([^"]*)\")re"));
    written.text = std::regex_search(body, std::regex(R"re(<string>|<text\s|storeAsText="true")re"));
    // A decimal element stores a REG_DWORD unless it is stored as text.
    written.dword = std::regex_search(body, std::regex(R"re(<decimal\s+value=)re")) ||
                    std::regex_search(body, std::regex(R"re(<decimal\s+id="[^"]*"(?![^>]*storeAsText="true")[^>]*>)re"));
    written.bothClasses = std::regex_search(body, std::regex(R"re(class="Both")re"));
    // A list writes its items under a key of its own, named by value names it makes up.
    written.list = std::regex_search(body, std::regex(R"re(<list\s[^>]*valuePrefix="")re"));
  }
  return policies;
}

TEST(PolicyTemplateTest, EveryPolicyIsAValueTheProgramReadsAndBack) {
  const std::map<std::string, Written> policies = PoliciesOf(Template());
  ASSERT_FALSE(policies.empty()) << VORNATIC_POLICY_TEMPLATE;
  std::map<std::string, policy::Kind> inTemplate;
  for (const auto& [name, written] : policies) {
    EXPECT_TRUE(written.bothClasses) << name << ": the program reads it for the machine and the user";
    if (written.list) {
      EXPECT_EQ(written.keys, std::set<std::string>{Narrow(policy::kKey) + "\\" + name}) << name;
      EXPECT_TRUE(written.valueNames.empty()) << name;
      inTemplate[name] = policy::Kind::List;
      continue;
    }
    EXPECT_EQ(written.keys, std::set<std::string>{Narrow(policy::kKey)}) << name;
    ASSERT_EQ(written.valueNames.size(), 1u) << name << ": one value per policy";
    EXPECT_NE(written.text, written.dword) << name << ": text or a number, never both";
    inTemplate[*written.valueNames.begin()] = written.dword ? policy::Kind::Switch : policy::Kind::Text;
  }
  std::map<std::string, policy::Kind> inProgram;
  for (const policy::Policy& row : policy::kPolicies) inProgram[Narrow(row.name)] = row.kind;
  EXPECT_EQ(inTemplate, inProgram);
}

}  // namespace
