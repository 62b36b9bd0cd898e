#include "tests/vendor_documents.h"

#include <string_view>

namespace addfolder::test_support {
namespace {

// Every LF made CR LF.
std::string with_crlf(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
}

// One option of a settings block, as the IDE writes it.
std::string option(std::string_view indent, std::string_view name, std::string_view state) {
  std::string text;
  text.append(indent).append("<option>\n");
  text.append(indent).append("    <name>").append(name).append("</name>\n");
  text.append(indent).append("    <state>").append(state).append("</state>\n");
  text.append(indent).append("</option>\n");
  return text;
}

}  // namespace

std::string vendor_example_project() {
  // "\xA9" is a copyright sign in ISO-8859-1.
  return R"(<?xml version="1.0" encoding="iso-8859-1"?>

<project>
  <fileVersion>2</fileVersion>
  <configuration>
    <name>debug</name>
    <toolchain>
      <name>ARM</name>
    </toolchain>
    <debug>1</debug>
    <settings>
      <name>General</name>
      <archiveVersion>3</archiveVersion>
      <data>
        <version>22</version>
        <wantNonLocal>1</wantNonLocal>
        <debug>1</debug>
        <option>
          <name>ExePath</name>
          <state>debug\exe</state>
        </option>
        <option>
          <name>OGChipSelectEditMenu</name>
          <state>MK64FN1M0xxx12	NXP MK64FN1M0xxx12</state>
        </option>
      </data>
    </settings>
    <settings>
      <name>ICCARM</name>
      <archiveVersion>2</archiveVersion>
      <data>
        <version>31</version>
        <wantNonLocal>1</wantNonLocal>
        <debug>1</debug>
        <option>
          <name>CCDefines</name>
          <state>DEBUG</state>
          <state>CPU_MK64FN1M0VLL12</state>
        </option>
        <option>
          <name>CCIncludePath2</name>
          <state>$PROJ_DIR$/../../../../CMSIS/Include</state>
          <state>$PROJ_DIR$/board</state>
        </option>
      </data>
    </settings>
  </configuration>
<file>
  <name>$PROJ_DIR$/hello.ipcf</name>
</file>
  <group>
    <name>board</name>
    <file>
      <name>$PROJ_DIR$/board/board.c</name>
    </file>
    <file>
      <name>$PROJ_DIR$/board/pin_mux.c</name>
    </file>
  </group>
  <file>
    <name>$PROJ_DIR$/readme.txt</name>
  </file>
  <file>
    <name>$PROJ_DIR$/hello.c</name>
  </file>
  <!-- Copyright )" "\xA9" R"( 2016 the vendor. All rights reserved. -->
</project>
)";
}

std::string ide_project_crlf() {
  return with_crlf(R"(<?xml version="1.0" encoding="UTF-8"?>
<project>
    <fileVersion>3</fileVersion>
    <configuration>
        <name>Debug</name>
        <toolchain>
            <name>ARM</name>
        </toolchain>
        <debug>1</debug>
        <settings>
            <name>General</name>
            <archiveVersion>3</archiveVersion>
            <data>
                <version>35</version>
                <wantNonLocal>1</wantNonLocal>
                <debug>1</debug>
                <option>
                    <name>ExePath</name>
                    <state>Debug\Exe</state>
                </option>
            </data>
        </settings>
    </configuration>
    <group>
        <name>app</name>
        <file>
            <name>$PROJ_DIR$\app\main.c</name>
        </file>
    </group>
    <file>
        <name>$PROJ_DIR$\notes.txt</name>
    </file>
</project>
)");
}

std::string ide_project_control_files(bool with_reference) {
  std::string text = R"(<?xml version="1.0"?>
<project>
    <fileVersion>4</fileVersion>
    <fileChecksum>2736478910</fileChecksum>
    <configuration>
        <name>Debug</name>
        <outputs>
            <file>$PROJ_DIR$\Debug\Obj\main.o</file>
            <file>$PROJ_DIR$\Debug\Exe\app.out</file>
        </outputs>
        <toolchain>
            <name>ARM</name>
        </toolchain>
        <debug>1</debug>
        <settings>
            <name>General</name>
            <archiveVersion>3</archiveVersion>
            <data>
                <version>36</version>
                <wantNonLocal>1</wantNonLocal>
                <debug>1</debug>
            </data>
        </settings>
    </configuration>
    <file>
        <name>$PROJ_DIR$\board.ipcf</name>
        <tag>IAR.ControlFile</tag>
    </file>
)";
  if (with_reference) {
    text += R"(    <file>
        <name>$PROJ_DIR$\hello.ipcf</name>
        <tag>IAR.ControlFile</tag>
    </file>
)";
  }
  text += R"(    <group>
        <name>app</name>
        <file>
            <name>$PROJ_DIR$\app\main.c</name>
        </file>
    </group>
    <projectSettings>
        <name>Debug</name>
        <option>
            <name>BuildOrder</name>
            <state>1</state>
        </option>
    </projectSettings>
</project>
)";
  return text;
}

std::string large_project() {
  std::string text = "<?xml version=\"1.0\"?>\n<project>\n    <fileVersion>3</fileVersion>\n";
  for (int configuration = 0; configuration < 21; ++configuration) {
    text += "    <configuration>\n        <name>Build" + std::to_string(configuration) + "</name>\n";
    text += "        <toolchain>\n            <name>ARM</name>\n        </toolchain>\n        <debug>1</debug>\n";
    for (int settings = 0; settings < 12; ++settings) {
      text += "        <settings>\n            <name>Tool" + std::to_string(settings) + "</name>\n";
      text += "            <archiveVersion>2</archiveVersion>\n            <data>\n";
      text += "                <version>31</version>\n                <wantNonLocal>1</wantNonLocal>\n";
      for (int n = 0; n < 24; ++n) {
        text += option("                ", "Option" + std::to_string(n), n % 3 == 0 ? "$PROJ_DIR$\\inc" : "0");
      }
      text += "            </data>\n        </settings>\n";
    }
    text += "    </configuration>\n";
  }
  text += "    <file>\n        <name>$PROJ_DIR$\\hello.ipcf</name>\n    </file>\n";
  for (int group = 0; group < 40; ++group) {
    const std::string name = "module" + std::to_string(group);
    text += "    <group>\n        <name>" + name + "</name>\n";
    for (int file = 0; file < 10; ++file) {
      text += "        <file>\n            <name>$PROJ_DIR$\\" + name + "\\file" + std::to_string(file) +
              ".c</name>\n        </file>\n";
    }
    text += "    </group>\n";
  }
  text += "</project>\n";
  return text;
}

std::string vendor_connection_file() {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- Generated by the vendor's project generator. Do not edit. -->
<iarProjectConnection version="1.8" name="hello_world" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:noNamespaceSchemaLocation="ipcf.xsd">
  <device>
    <name>MK64FN1M0xxx12</name>
  </device>
  <asmIncludePath>
    <path>$PROJ_DIR$/board</path>
  </asmIncludePath>
  <includePath>
    <path>$PROJ_DIR$/board</path>
    <path>$SDK_DIR$/devices/MK64F12</path>
    <path>$PROJ_DIR$\drivers</path>
  </includePath>
  <defines>
    <define>CPU_MK64FN1M0VLL12</define>
    <define>PRINTF_FLOAT_ENABLE=0</define>
  </defines>
  <asmDefines>
    <define>__STARTUP_CLEAR_BSS</define>
  </asmDefines>
  <extraOptions>
    <args>
      <arg>--diag_suppress=Pa082</arg>
      <arg>--no_unaligned_access</arg>
    </args>
  </extraOptions>
  <extraOptions>
    <arg>--vla</arg>
  </extraOptions>
  <linkerFile override="true">
    <path>$PROJ_DIR$/MK64FN1M0xxx12_flash.icf</path>
  </linkerFile>
  <customBuildTools>
    <customBuildTool name="bin2c" extension=".bin">
      <commandLine>$SDK_DIR$/tools/bin2c "$FILE_PATH$" "$FILE_BPATH$.c"</commandLine>
      <output>$FILE_BPATH$.c</output>
    </customBuildTool>
  </customBuildTools>
  <preBuild>
    <command>cmd /c "echo pre-build &amp; exit 0"</command>
  </preBuild>
  <postBuild>
    <command>$SDK_DIR$/tools/sign.exe "$TARGET_PATH$"</command>
  </postBuild>
  <heaps>
    <heap name="default" size="0x400"/>
  </heaps>
  <stacks>
    <stack name="CSTACK" size="0x800"/>
  </stacks>
  <files>
    <group name="board">
      <path>$PROJ_DIR$/board/board.c</path>
      <path copyTo="$PROJ_DIR$/board/pin_mux.c">$SDK_DIR$/boards/frdmk64f/pin_mux.c</path>
      <path reference="true">$PROJ_DIR$/board/board.h</path>
    </group>
    <group name="board">
      <path>$PROJ_DIR$/board/clock_config.c</path>
    </group>
    <group name="drivers/uart">
      <path>$PROJ_DIR$/drivers/uart/fsl_uart.c</path>
    </group>
    <group name="source">
      <path>.\source\hello_world.c</path>
      <path>$PROJ_DIR$\source\semihost_hardfault.c</path>
      <group name="utilities">
        <group name="debug_console">
          <group name="str">
            <group name="io">
              <group name="deep">
                <group name="deeper">
                  <group name="deepest">
                    <path>$SDK_DIR$/source/x.c</path>
                  </group>
                </group>
              </group>
            </group>
          </group>
        </group>
      </group>
    </group>
    <group name="startup" build="false">
      <path>$SDK_DIR$/devices/MK64F12/gcc/startup_MK64F12.S</path>
    </group>
    <group name="resources" customBuildTool="bin2c">
      <path>$PROJ_DIR$/resources/logo.bin</path>
    </group>
    <path>$PROJ_DIR$/hello.c</path>
  </files>
</iarProjectConnection>
)";
}

std::string large_vendor_connection_file() {
  std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<iarProjectConnection version="1.8" name="sdk" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:noNamespaceSchemaLocation="ipcf.xsd">
  <includePath>
    <path>$PROJ_DIR$/sdk/inc</path>
  </includePath>
  <files>
)";
  for (int group = 0; group < 74; ++group) {
    const std::string name = "sdk/module" + std::to_string(group);
    text += "    <group name=\"" + name + "\">\n";
    for (int file = 0; file < 50; ++file) {
      text += "      <path>$PROJ_DIR$/" + name + "/file" + std::to_string(file) + ".c</path>\n";
    }
    text += "    </group>\n";
  }
  text += "  </files>\n</iarProjectConnection>\n";
  return text;
}

}  // namespace addfolder::test_support
