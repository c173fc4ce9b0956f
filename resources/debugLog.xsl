<?xml version="1.0" encoding="UTF-8"?>
<!--
  Shows a Zelka debug log as a report: one row per recorded call, with its
  time, the operation that ran and, when the entry holds one, the record of
  the stored-procedure call (procedure, parameters, values) as an indented
  outline. Place this file beside the log (the log names it by file name).
-->
<xsl:stylesheet version="1.0"
    xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:d="urn:zelkasystems:orvane:debugLog"
    xmlns:e="urn:zelkasystems:orvane:errorLog"
    exclude-result-prefixes="d e">
  <xsl:output method="html" encoding="UTF-8" indent="yes"/>

  <xsl:template match="/d:debugging">
    <html>
      <head>
        <title>Zelka debug log</title>
        <style>
          body { font-family: sans-serif; margin: 1.5em; color: #222; }
          h1 { font-size: 1.4em; }
          table { border-collapse: collapse; width: 100%; }
          th, td { border: 1px solid #bbb; padding: 0.3em 0.6em; text-align: left; vertical-align: top; }
          th { background: #eee; }
          td.when { white-space: nowrap; }
          ul.record { margin: 0; padding-left: 1.1em; font-family: monospace; }
          .name { color: #036; }
        </style>
      </head>
      <body>
        <h1>Zelka debug log</h1>
        <p class="count"><xsl:value-of select="count(e:error)"/> call(s) recorded.</p>
        <table>
          <tr><th>Time</th><th>Operation</th><th>Call</th></tr>
          <xsl:apply-templates select="e:error"/>
        </table>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="d:debugging/e:error">
    <tr>
      <td class="when"><xsl:apply-templates select="e:date"/></td>
      <td class="operation"><xsl:value-of select="e:description"/></td>
      <td>
        <xsl:if test="*[not(self::e:date or self::e:description)]">
          <ul class="record">
            <xsl:apply-templates select="*[not(self::e:date or self::e:description)]" mode="record"/>
          </ul>
        </xsl:if>
      </td>
    </tr>
  </xsl:template>

  <!-- Any element of the call record: its name, its text when it is a leaf,
       its children as a nested list. -->
  <xsl:template match="*" mode="record">
    <li>
      <span class="name"><xsl:value-of select="local-name()"/></span>
      <xsl:for-each select="@*">
        <xsl:text> </xsl:text><xsl:value-of select="local-name()"/>="<xsl:value-of select="."/>"
      </xsl:for-each>
      <xsl:if test="not(*)">: <xsl:value-of select="."/></xsl:if>
      <xsl:if test="*">
        <ul><xsl:apply-templates select="*" mode="record"/></ul>
      </xsl:if>
    </li>
  </xsl:template>

  <xsl:template match="e:date">
    <xsl:value-of select="e:year"/>-<xsl:value-of select="format-number(e:month, '00')"/>-<xsl:value-of
        select="format-number(e:day, '00')"/><xsl:text> </xsl:text><xsl:value-of
        select="format-number(e:hour, '00')"/>:<xsl:value-of select="format-number(e:minute, '00')"/>:<xsl:value-of
        select="format-number(e:second, '00')"/>
  </xsl:template>
</xsl:stylesheet>
